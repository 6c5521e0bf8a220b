#!/usr/bin/env bash
# Builds everything and runs every test tier: unit tests on Linux, the Windows
# XP import check, the Wine integration tests and the end-to-end window tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
build="${QUILLON_BUILD:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j1 "$@"
