#!/usr/bin/env bash
# docs/tweaks.md from what `quillonc LIST` prints (every box, both sides) and
# what `quillonc PREVIEW` shows for each choice of the controls that are not
# boxes, in a fresh Wine prefix of its own so the machine's state cannot
# colour it.
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
# The program asks the system where the common Start menu is: here, where an English XP keeps it.
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v 'Common Start Menu' \
    /t REG_EXPAND_SZ /d 'C:\Documents and Settings\All Users\Start Menu' /f >/dev/null 2>&1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Into a file the listing is UTF-8: every caption is kept, whatever the console's code page.
wine "$build/win32/quillonc.exe" LIST >"$work/listing"

# Five selections, each with only 56 (Combo3) and 75 (Opt) ticked: Opt N,
# both combo boxes on entry N mod 2, a download folder and every drive in the
# first, no folder and no drive in the others. Their PREVIEW rows for those
# controls say what each choice writes.
zeros() { printf '%*s' "$1" '' | tr ' ' 0; }
ones() { printf '%*s' "$1" '' | tr ' ' 1; }
boxes="$(zeros 56)1$(zeros 18)1$(zeros 1)"
for choice in 0 1 2 3 4; do
    if [ "$choice" = 0 ]; then path='C:\Downloads'; drives="$(ones 26)"; else path=''; drives="$(zeros 26)"; fi
    printf '"%s"\r\n' "$boxes" "$choice" "$((choice % 2))" "$((choice % 2))" "$path" "$drives" "$drives" \
        "$(zeros 19)" >"$work/choice$choice.dat"
    wine "$build/win32/quillonc.exe" PREVIEW /selection "$(winepath -w "$work/choice$choice.dat")" \
        /page System /page Security | tr -d '\r' | awk -F'\t' -v choice="$choice" \
        '$2 ~ /^(56|75|Combo2|txtPath|lstHide|lstNot)$/ { print choice "\t" $0 }' >>"$work/controls"
done
wineserver -w

awk -F'\t' '
function escaped(text) { gsub(/\r/, "", text); gsub(/\|/, "\\|", text); gsub(/</, "\\<", text); gsub(/>/, "\\>", text); return text }
# Each effect as code, so paths and keys show exactly as written.
function effects(text,    n, parts, i, out) {
    gsub(/\r/, "", text)
    if (text == "nothing") return "nothing"
    n = split(text, parts, / ; /)
    out = ""
    for (i = 1; i <= n; i++) { gsub(/\|/, "\\|", parts[i]); out = out (i > 1 ? "<br>" : "") "`" parts[i] "`" }
    return out
}
# HKEY_CURRENT_USER is the user who runs the program; everything else
# (HKEY_LOCAL_MACHINE, services, files, the tools) is the whole computer.
function scope(text,    machine, user) {
    user = text ~ /HKEY_CURRENT_USER/
    machine = text ~ /HKEY_LOCAL_MACHINE|service |file |folder |run /
    if (machine && user) return "machine and user"
    if (machine) return "machine"
    if (user) return "user"
    return ""
}
# The value an effect writes ("key\name" or "service NAME"), lower case; "" for none.
function target(effect) {
    if (effect ~ /^set /) { sub(/^set /, "", effect); sub(/ = .*/, "", effect); return tolower(effect) }
    if (effect ~ /^delete value /) { sub(/^delete value /, "", effect); return tolower(effect) }
    if (effect ~ /^service /) { sub(/ start = .*/, "", effect); return tolower(effect) }
    return ""
}
function notes(page, number, ticked, unticked,    out, tool, others) {
    out = ""
    if (ticked unticked ~ /(^| ; )run /) {
        tool = ticked unticked; sub(/.*run /, "", tool); sub(/ .*/, "", tool)
        out = out "cannot be undone (" tool ")"
    }
    if (ticked unticked ~ /delete file [^;]*Driver\.cab/) out = out (out ? "; " : "") "cannot be undone: Driver.cab is not kept"
    if (ticked unticked ~ /remove folder /) out = out (out ? "; " : "") "a folder goes only when it is empty"
    others = sharers[page " " number]
    if (others != "") out = out (out ? "; " : "") "shares a value with " others
    return out
}
BEGIN {
    print "# The tweaks, box by box"
    print ""
    print "Made by `tools/tweaks-doc.sh` from `quillonc LIST` and `quillonc PREVIEW`; a test fails when this file is out of date."
    print "Each box lists what a run does when it is ticked and when it is not (most boxes are two-sided)."
    print "*Applies to*: **machine** is the whole computer (HKEY_LOCAL_MACHINE, services, files, tools), **user** the"
    print "user who runs Quillon (HKEY_CURRENT_USER). What cannot be undone is left out of the undo record: a tool"
    print "whose effect cannot be read back, and the deleted driver cabinet, whose space is the point of its box."
}
FNR == 1 { pass++ }
# First pass: every box that writes each value.
pass == 1 {
    n = split($4 " ; " $5, parts, / ; /)
    for (i = 1; i <= n; i++) {
        t = target(parts[i])
        if (t == "") continue
        who = $1 " " $2
        if (index(" " writers[t] ",", " " who ",") == 0) writers[t] = writers[t] (writers[t] ? ", " : "") who
        if (!(t in spelt)) spelt[t] = parts[i]
    }
    next
}
pass == 2 && FNR == 1 {
    for (t in writers) {
        if (writers[t] !~ /, /) continue
        shared[t] = writers[t]
        n = split(writers[t], names, /, /)
        for (i = 1; i <= n; i++) {
            for (j = 1; j <= n; j++) {
                if (j == i || index(", " sharers[names[i]] ",", ", " names[j] ",")) continue
                sharers[names[i]] = sharers[names[i]] (sharers[names[i]] ? ", " : "") names[j]
            }
        }
    }
}
pass == 2 {
    if ($1 != page) {
        page = $1
        print ""
        print "## " page
        print ""
        print "| # | box | ticked | unticked | applies to | notes |"
        print "|---|---|---|---|---|---|"
    }
    print "| " escaped($2) " | " escaped($3) " | " effects($4) " | " effects($5) " | " scope($4 " " $5) " | " notes($1, $2, $4, $5) " |"
    next
}
# The controls that are not boxes, choice by choice, kept in page, control and choice order.
pass == 3 {
    key = $3 "\t" $5
    if (key in seen) next
    seen[key] = 1
    rank = index("Combo2 56     75     txtPathlstHidelstNot ", $3) + ($2 == "Security" ? 100 : 0)
    if ($3 == "56") { control = "Combo3 (box 56)"; choice = $1 % 2 ? "Background-Services" : "Applications" }
    else if ($3 == "75") { split("64K,128K,256K,512K,1MB or more", sizes, ","); control = "Opt (box 75)"; choice = sizes[$1 + 1] }
    else if ($3 == "Combo2") { control = "Combo2, " $4; choice = $1 % 2 ? "Starting Preread" : "Preread Applacations" }
    else if ($3 == "txtPath") { control = "txtPath, " $4; choice = "a folder, here C:\\Downloads" }
    else { control = $3 ", " $4; choice = $1 == 0 ? "every drive" : "no drive" }
    rows[sprintf("%03d %d", rank, $1)] = "| " $2 " | " escaped(control) " | " escaped(choice) " | " effects($5) " | " scope($5) " |"
}
function sorted(list, order,    n, k, i, j, x) {
    n = 0
    for (k in list) order[++n] = k
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (order[j] < order[i]) { x = order[i]; order[i] = order[j]; order[j] = x }
    return n
}
END {
    print ""
    print "## Controls that are not boxes"
    print ""
    print "What a run writes for each choice. The drive lists write a mask, one bit per ticked drive (A: is"
    print "bit 0), whether any drive is ticked or none; an empty download folder writes nothing. Combo3 and"
    print "the option count only while their box is ticked (56 and 75 above)."
    print ""
    print "| page | control | choice | what a run writes | applies to |"
    print "|---|---|---|---|---|"
    m = sorted(rows, order)
    for (i = 1; i <= m; i++) print rows[order[i]]
    print ""
    print "## Values several boxes write"
    print ""
    print "Within one run the ticked side wins: a box left unticked does not write such a value while another"
    print "box of the run that writes it stands ticked, whichever of them comes first. The pages of one run are"
    print "the page on view for Optimize, all four for Auto Optimize, and those named for `quillonc APPLY`."
    print ""
    print "| value | boxes |"
    print "|---|---|"
    m = sorted(shared, values)
    for (i = 1; i <= m; i++) {
        v = spelt[values[i]]
        sub(/ start = .*/, " start mode", v); sub(/^set /, "", v); sub(/ = .*/, "", v)
        print "| `" v "` | " shared[values[i]] " |"
    }
}' "$work/listing" "$work/listing" "$work/controls" >"$work/made"

target="$repo/docs/tweaks.md"
if [ "${2:-}" = "--check" ]; then
    if ! diff -u "$target" "$work/made"; then
        echo "docs/tweaks.md is out of date: run tools/tweaks-doc.sh $1" >&2
        exit 1
    fi
    echo "docs/tweaks.md is up to date"
else
    mkdir -p "$repo/docs"
    cp "$work/made" "$target"
    echo "wrote $target"
fi
