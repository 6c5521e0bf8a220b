#!/usr/bin/env bash
# Builds and runs the benchmark under Wine in its own prefix (it applies every
# tweak for real, so never on a real machine). Prints ratios against the floor
# measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build="${QUILLON_BUILD:-build}/bench"
mkdir -p "$build"
cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/win32" -j"$(nproc)" --target quillon quillon_bench quillon_journal_bench quillonc quillon_console_bench quillon_fleet_bench do_nothing minimal_window standin_sc standin_sfc standin_chkntfs
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
. tools/wine-env.sh "$build"
wine_prefix_ready
[ -x tools/install-standins.sh ] && tools/install-standins.sh "$build/win32"
ls -l "$build/win32/quillon.exe" | awk '{print "quillon.exe size: " $5 " bytes"}'
wine "$build/win32/quillon_bench.exe"
wine "$build/win32/quillon_journal_bench.exe"
wine "$build/win32/quillon_console_bench.exe"
wine "$build/win32/quillon_fleet_bench.exe"
wineserver -w
