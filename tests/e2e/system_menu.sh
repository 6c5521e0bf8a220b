#!/usr/bin/env bash
# The three entries of the window's system menu, by their access keys
# (Alt+Space, then P, T or U) and by mouse: the preview window lists the plan
# and closing it changes nothing; "Undo last run..." is greyed while there is
# no record; "Show current state" after a console APPLY ticks what was
# applied; "Undo last run..." restores it after asking, and the page then
# shows the machine as restored.
# Usage: tests/e2e/system_menu.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_begin "$1" system_menu
cp "$build/win32/quillonc.exe" "$program_dir/quillonc.exe"

crash='HKLM\System\CurrentControlSet\Control\CrashControl'

# The menu opens at the window's top-left corner; its entries are one line apart.
menu_entry_offset_x=60
menu_entry_offset_y() { echo $((29 + 16 * $1)); }

open_menu() {
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    until_shown "$X" $((Y + 20)) 120 60 xdotool key --window "$window" alt+space
}

# Entry 0, 1 or 2 by its access key.
access_keys=(p t u)
choose_by_keys() {
    open_menu
    xdotool key "${access_keys[$1]}"
}

choose_by_mouse() {
    open_menu
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + menu_entry_offset_x)) $((Y + $(menu_entry_offset_y "$1"))) click 1
}

close_preview() {
    xdotool key --window "$1" Escape
    window_gone "$1" 20 || fail "the preview window did not close"
}


start_quillon
before_crash=$(reg_value "$crash" AutoReboot || true)

# No record yet: "Undo last run..." is greyed, so its key does nothing.
shot "$out/before-menu.png"
open_menu
import -window root "$out/menu-no-record.png"
xdotool key u
wait_idle Quillon root  # the key has been served
[ -z "$(new_window 'Undo last run' 2)" ] || fail "Undo last run... acted with no record"
xdotool key Escape
echo "ok: Undo last run... is greyed with no record"
# Once the menu has gone, the header's corner shows as before it opened.
corner() { convert "$1" -crop 40x24+0+0 +repage "$2"; }
corner "$out/before-menu.png" "$out/corner-before.png"
corner_as_before() {
    shot "$out/after-menu.png"
    corner "$out/after-menu.png" "$out/corner-after.png"
    compare -metric AE "$out/corner-before.png" "$out/corner-after.png" null: >/dev/null 2>&1
}
wait_until 30 corner_as_before || fail "$(compare -metric AE "$out/corner-before.png" "$out/corner-after.png" null: 2>&1 || true) pixels of the header's corner differ after the menu closed"
echo "ok: the header is repainted after the menu"
click_page Startup
open_menu
import -window root "$out/menu-startup-page.png"
xdotool key Escape
click_page System

# Preview by keyboard, on the System page with chk 54 ticked.
click_box "$page_x" "$page_y" 270 2280
choose_by_keys 0
preview=$(new_window 'Preview changes.*' 40)
[ -n "$preview" ] || fail "Alt+Space, Enter opened no preview window"
wait_idle 'Preview changes - System' "$preview"
import -window "$preview" "$out/preview-keyboard.png"
xdotool windowsize "$preview" 500 300
resized() {
    import -window "$preview" "$out/preview-resized.png"
    [ "$(identify -format %w "$out/preview-resized.png")" -le 520 ]
}
wait_until 30 resized || fail "the preview window did not take a smaller size"
close_preview "$preview"
echo "ok: preview by keyboard, resized, closed"

# Preview by mouse.
choose_by_mouse 0
preview=$(new_window 'Preview changes.*' 40)
[ -n "$preview" ] || fail "a click on the entry opened no preview window"
wait_idle 'Preview changes - System' "$preview"
import -window "$preview" "$out/preview-mouse.png"
close_preview "$preview"
[ "$(reg_value "$crash" AutoReboot || true)" = "$before_crash" ] || fail "previewing changed AutoReboot"
[ -f "$setup_dat" ] && fail "previewing wrote setup.dat"
echo "ok: preview by mouse; previewing changed nothing"

# Dark pixels inside a box: container x y, box left top twips.
tick_dark_pixels() {
    local x=$(($1 + $(px "$3") + 2)) y=$(($2 + $(px "$4") + 2))
    shot "$out/ticks.png"
    convert "$out/ticks.png" -crop "9x9+$x+$y" +repage -colorspace gray -threshold 40% -format '%[fx:int(w*h*(1-mean))]' info:
}

# A console APPLY of a selection with chk 54 and 43, then "Show current state"
# by keyboard on a cleared System page ticks exactly those.
zeros() { printf '0%.0s' $(seq 1 "$1"); }
boxes=$(zeros 77)
boxes="${boxes:0:43}1${boxes:44}"
boxes="${boxes:0:54}1${boxes:55}"
printf '"%s"\r\n"0"\r\n"0"\r\n"0"\r\n""\r\n"%s"\r\n"%s"\r\n"%s"\r\n' \
    "$boxes" "$(zeros 26)" "$(zeros 26)" "$(zeros 19)" >"$program_dir/deploy.dat"
status=0
(cd "$program_dir" && wine quillonc.exe APPLY /selection deploy.dat /page System >"$out/apply.txt" 2>"$out/apply.err") || status=$?
[ "$status" -eq 0 ] || fail "quillonc APPLY ended with $status: $(cat "$out/apply.err")"
expect_value "$crash" AutoReboot "REG_DWORD 0x1"
click_main_button 2070 6540 1815  # Reset clears every box
[ "$(tick_dark_pixels "$page_x" "$page_y" 270 2280)" -le 1 ] || fail "Reset left chk 54 ticked"
choose_by_keys 1
chk54_ticked() { [ "$(tick_dark_pixels "$page_x" "$page_y" 270 2280)" -gt 4 ]; }
wait_until 60 chk54_ticked || fail "Show current state left chk 54 clear"
[ "$(tick_dark_pixels "$page_x" "$page_y" 270 2610)" -gt 4 ] || fail "Show current state left chk 43 clear"
[ "$(tick_dark_pixels "$page_x" "$page_y" 270 2940)" -le 1 ] || fail "Show current state ticked chk 44"
shot "$out/current-state.png"
[ "$(wait_text_width "$out/current-state.png")" -gt 90 ] || fail "Show current state said nothing in the status line"
echo "ok: Show current state ticks what APPLY applied and says so"

# "Undo last run..." by its key asks; No leaves everything as it is.
choose_by_keys 2
ask=$(new_window 'Undo last run' 40)
[ -n "$ask" ] || fail "U in the menu asked nothing"
import -window "$ask" "$out/undo-ask-keys.png"
xdotool key --window "$ask" n
window_gone "$ask" 80 || fail "No did not close the question"
wait_idle
expect_value "$crash" AutoReboot "REG_DWORD 0x1"

# "Undo last run..." by mouse: it asks, restores, reports.
choose_by_mouse 2
ask=$(new_window 'Undo last run' 40)
[ -n "$ask" ] || fail "Undo last run asked nothing"
import -window "$ask" "$out/undo-ask.png"
xdotool key --window "$ask" Return
window_gone "$ask" 80 || fail "Yes did not close the question"
wait_for_value "$crash" AutoReboot "$before_crash"
report=$(new_window 'Undo last run' 40)
[ -n "$report" ] || fail "Undo last run reported nothing"
import -window "$report" "$out/undo-report.png"
xdotool key --window "$report" Return
window_gone "$report" 80 || fail "the report of Undo last run did not close"
quillon_running || fail "the program ended after Undo last run"
wait_idle
chk54_clear() { [ "$(tick_dark_pixels "$page_x" "$page_y" 270 2280)" -le 1 ]; }
wait_until 30 chk54_clear || fail "after Undo last run chk 54 still shows ticked"
shot "$out/after-undo.png"
echo "ok: Undo last run restored AutoReboot and the page shows it"

# A damaged record: "Undo last run..." names it by its date before asking
# anything, and changes nothing.
(cd "$program_dir" && wine quillonc.exe APPLY /selection deploy.dat /page System >"$out/apply2.txt" 2>&1) ||
    fail "the second APPLY failed: $(cat "$out/apply2.txt")"
record=$(cd "$program_dir" && wine quillonc.exe UNDO /list 2>/dev/null | tr -d '\r' | head -1 | cut -f1)
[ -n "$record" ] || fail "UNDO /list named no record"
printf 'before\tvalue\tnonsense\r\n' >"$(winepath -u "$record\\state.txt" 2>/dev/null)"
name=${record##*\\}
months=(January February March April May June July August September October November December)
when="$((10#${name:8:2})) ${months[$((10#${name:5:2} - 1))]} ${name:0:4} at ${name:11:2}:${name:14:2}"
choose_by_keys 2
refusal=$(new_window 'Undo last run' 40)
[ -n "$refusal" ] || fail "Undo last run showed nothing for a damaged record"
import -window "$refusal" "$out/undo-damaged.png"
said=$(wine "$build/win32/window_text.exe" "Undo last run" 2>/dev/null | tr -d '\r')
printf '%s\n' "$said" >"$out/undo-damaged.txt"
grep -qF "$when" <<<"$said" || fail "the damaged record's message does not name $when: $said"
grep -qF "damaged" <<<"$said" || fail "the damaged record's message gives no reason: $said"
grep -q 'Yes' <<<"$said" && fail "a damaged record was offered for undo: $said"
xdotool key --window "$refusal" Return
window_gone "$refusal" 20 || fail "the message on the damaged record did not close"
expect_value "$crash" AutoReboot "REG_DWORD 0x1"
echo "ok: a damaged record is named by its date ($when) and nothing is asked"
