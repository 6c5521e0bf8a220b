#!/usr/bin/env bash
# Builds one libFuzzer target with clang and runs it for a bounded time.
# Usage: tools/fuzz.sh TARGET SECONDS BUILD_DIR   (TARGET: a tests/fuzz/*Fuzz.cpp name)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="$1"; seconds="$2"; out="$3/fuzz"
mkdir -p "$out/corpus-$target"
# Each target names the sources it needs on a "// fuzz-sources:" line.
sources=("$root/tests/fuzz/$target.cpp")
for pattern in $(sed -n 's|^// fuzz-sources: ||p' "$root/tests/fuzz/$target.cpp"); do
    sources+=($root/$pattern)
done
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I"$root" "${sources[@]}" -o "$out/$target"
"$out/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    "$out/corpus-$target" 2>&1 | tail -n 12
