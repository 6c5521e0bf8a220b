#!/usr/bin/env bash
# Enter at start changes nothing: the window opens with the focus on the
# first box of the page on view, where Enter presses no button, and Auto
# Optimize's question takes Enter as Cancel. Space there ticks that box.
# Usage: tests/e2e/enter_at_start.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_begin "$1" enter_at_start

tick_dark_pixels() {  # container x y, box left top twips: dark pixels inside the box
    local x=$(($1 + $(px "$3") + 2)) y=$(($2 + $(px "$4") + 2))
    shot "$out/ticks.png"
    convert "$out/ticks.png" -crop "9x9+$x+$y" +repage -colorspace gray -threshold 40% -format '%[fx:int(w*h*(1-mean))]' info:
}
nothing_ran() {  # what
    [ ! -f "$setup_dat" ] || fail "$1 started a run: setup.dat was written"
    [ "$(progress_pixel "$out/now.png")" != "$progress_colour" ] || fail "$1 started a run: the bar shows"
}

start_quillon
xdotool mousemove 1000 700
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5
xdotool key Return
sleep 0.5
[ -z "$(new_window Confirm 4)" ] || fail "Enter at start asked to auto optimize"
xdotool key Return
sleep 1.5
[ -z "$(new_window Confirm 2)" ] || fail "a second Enter at start asked to auto optimize"
shot "$out/now.png"
nothing_ran "Enter at start"
quillon_running || fail "Enter at start ended the program"
echo "ok: Enter, Enter at start changes nothing"

# The focus is on the page's first box (chk 56): Space ticks it.
[ "$(tick_dark_pixels "$page_x" "$page_y" 270 1590)" -le 1 ] || fail "chk 56 ticked before Space"
xdotool key space
for _ in $(seq 1 40); do [ "$(tick_dark_pixels "$page_x" "$page_y" 270 1590)" -gt 4 ] && break; sleep 0.1; done
[ "$(tick_dark_pixels "$page_x" "$page_y" 270 1590)" -gt 4 ] || fail "Space at start did not tick the first box"
shot "$out/first-box-ticked.png"
echo "ok: the first box of the page has the focus at start"

# Auto Optimize asks as before; Enter on its question is Cancel.
click_main_button 210 450 1875
confirm=$(new_window Confirm 40)
[ -n "$confirm" ] || fail "Auto Optimize asked nothing"
import -window "$confirm" "$out/auto-question.png"
said=$(wine "$build/win32/window_text.exe" Confirm 2>/dev/null | tr -d '\r')
grep -q 'Are you sure to auto optimize?' <<<"$said" || fail "Auto Optimize's question changed: $said"
xdotool key --window "$confirm" Return
window_gone "$confirm" 20 || fail "Enter did not close Auto Optimize's question"
sleep 1.5
shot "$out/now.png"
nothing_ran "Enter on Auto Optimize's question"
echo "ok: Enter on Auto Optimize's question cancels it"
