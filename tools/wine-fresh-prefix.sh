#!/usr/bin/env bash
# Runs a Windows test executable under Wine in a prefix made for this run
# alone and removed afterwards: a machine as it comes, that no test touched.
# Usage: tools/wine-fresh-prefix.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"; shift
prefix="$(mktemp -d "$build/wineprefix-fresh.XXXXXX")"
trap 'rm -rf "$prefix"' EXIT
QUILLON_WINE_PREFIX_NAME="$(basename "$prefix")" "$here/wine-run.sh" "$build" "$@"
