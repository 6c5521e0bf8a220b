#!/usr/bin/env bash
# Puts the test stand-ins for sc, sfc and chkntfs into the Wine prefix's system
# folder and makes Wine prefer them to its own sc. Never part of what ships.
# Quick when they are already in place. Usage: tools/install-standins.sh BUILD_DIR
# (WINEPREFIX as tools/wine-env.sh sets it; it is sourced when unset).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
if [ -z "${WINEPREFIX:-}" ]; then
    . "$here/wine-env.sh" "$build"
    wine_prefix_ready
fi

# A native build drives the Windows build in its win32/ subfolder.
source_dir=""
for candidate in "$build/standins" "$build/win32/standins"; do
    if [ -f "$candidate/sc.exe" ]; then source_dir="$candidate"; break; fi
done
if [ -z "$source_dir" ]; then
    echo "install-standins: no stand-ins built under $build" >&2
    exit 1
fi

# The system folder a 32-bit program is shown: SysWOW64 on 64-bit Windows.
system32="$WINEPREFIX/drive_c/windows/system32"
if [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then system32="$WINEPREFIX/drive_c/windows/syswow64"; fi
tools=(sc sfc chkntfs)
for tool in "${tools[@]}"; do
    if ! cmp -s "$source_dir/$tool.exe" "$system32/$tool.exe"; then
        cp -f "$source_dir/$tool.exe" "$system32/$tool.exe"
    fi
done

# Wine's registry files are written when its server ends, so reading them is
# enough to tell whether the overrides are already there.
for tool in "${tools[@]}"; do
    if ! grep -qix "\"$tool.exe\"=\"native\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add 'HKCU\Software\Wine\DllOverrides' /v "$tool.exe" /d native /f >/dev/null 2>&1
    fi
done
