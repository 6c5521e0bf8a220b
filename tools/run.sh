#!/usr/bin/env bash
# Builds quillon.exe and starts it under Wine. Without a display it runs on a
# virtual one (Xvfb), saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build="${QUILLON_BUILD:-build}"
cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/win32" --target quillon -j"$(nproc)"
. tools/wine-env.sh "$build"
wine_prefix_ready
exe="$build/win32/quillon.exe"

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$exe"
fi

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
sleep 1
wine "$exe" &
app=$!
for _ in $(seq 1 60); do
    xdotool search --name '^Quillon$' >/dev/null 2>&1 && break
    sleep 0.5
done
sleep 2
shot="$PWD/$build/quillon-screenshot.png"
import -window root "$shot"
echo "Quillon is running on the virtual display $display; screenshot: $shot"
kill "$app" 2>/dev/null || true
wineserver -k || true
