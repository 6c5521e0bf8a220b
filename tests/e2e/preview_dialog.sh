#!/usr/bin/env bash
# "Preview changes..." as a dialog on an 800 x 600 screen: opened by its
# access key, centred over the window and wholly on the screen; Ctrl+A and
# Ctrl+C copy tab-separated rows under a heading line; the right-click menu
# copies the row under the mouse; a heading click sorts and a second one
# reverses; narrowed, its count line wraps; Tab reaches Close; Esc closes it.
# Usage: tests/e2e/preview_dialog.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_screen=800x600x24
e2e_begin "$1" preview_dialog

clipboard() { xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true; }
clear_clipboard() { printf 'nothing' | xclip -i -selection clipboard; }

open_preview() {
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    until_shown "$X" $((Y + 20)) 120 60 xdotool key --window "$window" alt+space
    xdotool key p
    preview=$(new_window 'Preview changes - System' 40)
    [ -n "$preview" ] || fail "Alt+Space, P opened no preview"
    wait_idle 'Preview changes - System' "$preview"
}

# Whether the clipboard holds something other than what clear_clipboard put there.
copied() { [ "$(clipboard)" != nothing ]; }

# Ctrl+A then Ctrl+C; the clipboard's text.
copy_all() {
    clear_clipboard
    xdotool key --window "$preview" ctrl+a
    wait_idle 'Preview changes - System' "$preview"
    xdotool key --window "$preview" ctrl+c
    wait_until 30 copied || fail "Ctrl+C put nothing on the clipboard"
    clipboard
}

start_quillon
click_box "$page_x" "$page_y" 270 2280  # chk 54: AutoReboot
open_preview
import -window "$preview" "$out/preview.png"

# Centred over the main window, wholly on the screen.
eval "$(xdotool getwindowgeometry --shell "$window" | sed 's/^/MAIN_/')"
eval "$(xdotool getwindowgeometry --shell "$preview")"
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_w" ] && [ $((Y + HEIGHT)) -le "$screen_h" ] ||
    fail "the preview at ${X},${Y} ${WIDTH}x${HEIGHT} is not wholly on the ${screen_w}x${screen_h} screen"
centre_x=$((MAIN_X + MAIN_WIDTH / 2)) centre_y=$((MAIN_Y + MAIN_HEIGHT / 2))
off_x=$((X + WIDTH / 2 - centre_x)) off_y=$((Y + HEIGHT / 2 - centre_y))
# Only the screen's edge may move it off the centre, and only towards the screen.
{ [ "${off_x#-}" -le 16 ] || [ "$X" -eq 0 ] || [ $((X + WIDTH)) -eq "$screen_w" ]; } &&
    { [ "${off_y#-}" -le 40 ] || [ "$Y" -eq 0 ] || [ $((Y + HEIGHT)) -ge $((screen_h - 40)) ]; } ||
    fail "the preview is ${off_x},${off_y} pixels off the main window's centre"
echo "ok: the preview opens at ${X},${Y} ${WIDTH}x${HEIGHT}, centred and on screen"

text=$(copy_all)
printf '%s\n' "$text" >"$out/copied.txt"
[ "$(head -1 <<<"$text")" = "$(printf 'Box is\tSetting\tWhat\tBefore\tAfter')" ] || fail "no heading line: $(head -1 <<<"$text")"
grep -q 'AutoReboot' <<<"$text" || fail "the copied rows hold no AutoReboot"
rows=$(($(wc -l <<<"$text") - 1))
[ "$rows" -ge 2 ] || fail "Ctrl+A copied $rows rows"
awk -F'\t' 'NR > 1 && NF != 5 { exit 1 }' <<<"$text" || fail "a copied row has not five tab-separated fields"
echo "ok: Ctrl+A, Ctrl+C put $rows tab-separated rows with AutoReboot on the clipboard"

# The first heading ("Box is") sorts: ticked rows before unticked ones (a control that is
# no box has no side), then after a second click the other way round.
sides() { tail -n +2 <<<"$1" | cut -f1 | grep -v '^$' | uniq | tr '\n' ' '; }
# The first heading: past the dialog's margin (10) and the line over the
# list (13, and 4 under it) into the heading row (the geometry is the client
# area's).
heading_x=$((X + 10 + 20)) heading_y=$((Y + 10 + 13 + 4 + 9))
xdotool mousemove "$heading_x" "$heading_y" click 1
wait_idle 'Preview changes - System' "$preview"
up=$(copy_all)
xdotool mousemove "$heading_x" "$heading_y" click 1
wait_idle 'Preview changes - System' "$preview"
down=$(copy_all)
import -window "$preview" "$out/preview-sorted.png"
[ "$(sides "$up")" = "ticked unticked " ] || fail "a click on \"Box is\" did not sort ticked first: $(sides "$up")"
[ "$(sides "$down")" = "unticked ticked " ] || fail "a second click did not reverse: $(sides "$down")"
[ "$(tail -n +2 <<<"$up" | sort)" = "$(tail -n +2 <<<"$text" | sort)" ] || fail "sorting changed the rows"
echo "ok: a heading click sorts, a second one reverses"

# The right-click menu copies the row under the mouse, with the heading line.
clear_clipboard
xdotool mousemove "$heading_x" $((heading_y + 24)) click 1
wait_idle 'Preview changes - System' "$preview"
until_shown "$heading_x" $((heading_y + 24)) 80 40 xdotool click 3
import -window root "$out/preview-menu.png"
xdotool key c
wait_until 30 copied || fail "the menu's Copy put nothing on the clipboard"
one=$(clipboard)
[ "$(wc -l <<<"$one")" -eq 2 ] && [ "$(head -1 <<<"$one")" = "$(head -1 <<<"$text")" ] ||
    fail "the menu's Copy put this on the clipboard: $one"
echo "ok: right-click, Copy puts the row under the mouse on the clipboard"

# Narrowed near its least size, the count line wraps instead of clipping
# (looked at in the screenshot; with no window manager here, nothing holds
# the least size against an outside resize).
xdotool windowsize "$preview" 330 220
narrowed() {
    import -window "$preview" "$out/preview-narrow.png"
    [ "$(identify -format %w "$out/preview-narrow.png")" -le 340 ]
}
wait_until 30 narrowed || fail "the preview did not narrow"
wait_idle 'Preview changes - System' "$preview"
import -window "$preview" "$out/preview-narrow.png"

# Tab goes from the list to Close: Space there closes the dialog, where in
# the list it would only select a row. Then Esc closes a second one.
xdotool key --window "$preview" Tab
wait_idle 'Preview changes - System' "$preview"
xdotool key --window "$preview" space
window_gone "$preview" 20 || fail "Tab, Space did not reach the Close button"
echo "ok: Tab moves from the list to Close"
open_preview
xdotool key --window "$preview" Escape
window_gone "$preview" 20 || fail "Esc did not close the preview"
quillon_running || fail "the program ended with the preview"
echo "ok: Esc closes the preview"
