#!/usr/bin/env bash
# Fails when a Windows executable could not start on Windows XP: a subsystem
# version above 5.01, a DLL that XP does not ship, or a function XP lacks.
# Usage: tools/check-xp-imports.sh PROGRAM.exe
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
dump="$(i686-w64-mingw32-objdump -p "$exe")"
fail=0

major=$(awk '/MajorSubsystemVersion/ {print $2}' <<<"$dump")
minor=$(awk '/MinorSubsystemVersion/ {print $2}' <<<"$dump")
if [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
    echo "subsystem version $major.$minor is above 5.01"; fail=1
fi

allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|msvcrt|msimg32|uxtheme|comdlg32|version|shlwapi)\.dll$'
while read -r dll; do
    if ! grep -qiE "$allowed_dlls" <<<"$dll"; then echo "imports $dll, which Windows XP does not ship"; fail=1; fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")

functions=$(awk '/DLL Name:/ {inside=1; next} inside && NF==3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$dump")
while read -r banned; do
    [ -z "$banned" ] || [[ "$banned" == \#* ]] && continue
    if grep -qxE "$banned" <<<"$functions"; then
        echo "imports $(grep -xE "$banned" <<<"$functions" | head -1), which Windows XP lacks"; fail=1
    fi
done < "$here/xp-missing-functions.txt"

[ "$fail" -eq 0 ] && echo "$exe: fit for Windows XP ($(awk '/DLL Name:/ {print $3}' <<<"$dump" | tr '\n' ' '))"
exit $fail
