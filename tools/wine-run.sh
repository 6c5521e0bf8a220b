#!/usr/bin/env bash
# Runs a Windows test executable under Wine in the build's private prefix,
# with the stand-in tools installed in the prefix's system folder.
# Usage: tools/wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"; shift
# Window tests need an X display; without one, lend them a virtual one.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$@"
fi
. "$here/wine-env.sh" "$build"
wine_prefix_ready
if [ -x "$here/install-standins.sh" ]; then "$here/install-standins.sh" "$build"; fi
status=0
wine "$@" || status=$?
wineserver -w
exit $status
