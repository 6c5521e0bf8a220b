#!/usr/bin/env bash
# docs/tweaks.md from what `quillonc LIST` prints, in a fresh Wine prefix of
# its own so the machine's state cannot colour it.
# Usage: tools/tweaks-doc.sh BUILD_DIR           rewrites docs/tweaks.md
#        tools/tweaks-doc.sh BUILD_DIR --check   fails when docs/tweaks.md is out of date
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
. "$repo/tools/wine-env.sh" "$build"
export WINEPREFIX="$build/docs-prefix"
wine_prefix_ready
# What the file steps act on, so that their effects are listed too.
c="$WINEPREFIX/drive_c"
mkdir -p "$c/windows/driver cache/i386" "$c/windows/Ime/chtime" "$c/windows/Ime/imjp8_1" "$c/windows/Ime/imkr6_1" \
    "$c/Documents and Settings/All Users/Start Menu"
touch "$c/windows/driver cache/i386/Driver.cab" "$c/Documents and Settings/All Users/Start Menu/Windows Catalog.lnk" \
    "$c/Documents and Settings/All Users/Start Menu/Windows Update.lnk"
listing="$(mktemp)"
made="$(mktemp)"
trap 'rm -f "$listing" "$made"' EXIT
# Into a file the listing is UTF-8: every caption is kept, whatever the console's code page.
wine "$build/win32/quillonc.exe" LIST >"$listing"
wineserver -w

awk -F'\t' '
function cell(text) { gsub(/\r/, "", text); gsub(/\|/, "\\|", text); gsub(/</, "\\&lt;", text); gsub(/>/, "\\&gt;", text); return text }
BEGIN {
    print "# The tweaks, box by box"
    print ""
    print "Made by `tools/tweaks-doc.sh` from `quillonc LIST`; a test fails when this file is out of date."
    print "Each box lists what a run does when it is ticked and when it is not (most boxes are two-sided)."
}
{
    if ($1 != page) {
        page = $1
        print ""
        print "## " page
        print ""
        print "| # | box | ticked | unticked |"
        print "|---|---|---|---|"
    }
    print "| " cell($2) " | " cell($3) " | " cell($4) " | " cell($5) " |"
}' "$listing" >"$made"

target="$repo/docs/tweaks.md"
if [ "${2:-}" = "--check" ]; then
    if ! diff -u "$target" "$made"; then
        echo "docs/tweaks.md is out of date: run tools/tweaks-doc.sh $1" >&2
        exit 1
    fi
    echo "docs/tweaks.md is up to date"
else
    mkdir -p "$repo/docs"
    cp "$made" "$target"
    echo "wrote $target"
fi
