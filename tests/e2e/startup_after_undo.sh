#!/usr/bin/env bash
# Undo then tick by position removes the entry on view: after "Undo last
# run..." puts a removed Run entry back, the Startup page lists it again at
# once, so the row a user ticks is the entry removed.
# Usage: tests/e2e/startup_after_undo.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_begin "$1" startup_after_undo

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
wine reg add "$run" /v Alpha /d 'C:\alpha.exe' /f >/dev/null 2>&1
wine reg add "$run" /v Beta /d 'C:\beta.exe' /f >/dev/null 2>&1

# Row N of lstStartup (at 330 690 twips in the page, a 2-pixel edge, rows of 16 pixels).
click_row() {
    xdotool mousemove --window "$window" $((page_x + $(px 330) + 40)) $((page_y + $(px 690) + 2 + 16 * $1 + 8)) click 1
    sleep 0.4
}
wait_gone() {  # name
    for _ in $(seq 1 120); do
        [ -z "$(reg_value "$run" "$1")" ] && { echo "ok: $1 removed"; return 0; }
        sleep 0.5
    done
    fail "$1 was not removed"
}

start_quillon
click_page Startup
shot "$out/listed.png"
click_row 0  # Alpha
click_optimize
wait_gone Alpha
wait_for_complete
expect_value "$run" Beta 'REG_SZ C:\beta.exe'
shot "$out/after-run.png"

# Undo by the system menu's key; Yes, then the report's OK.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --window "$window" alt+space
sleep 0.6
xdotool key u
ask=$(new_window 'Undo last run' 40)
[ -n "$ask" ] || fail "Undo last run asked nothing"
xdotool key --window "$ask" Return
wait_for_value "$run" Alpha 'REG_SZ C:\alpha.exe'
report=$(new_window 'Undo last run' 40)
[ -n "$report" ] || fail "Undo last run reported nothing"
xdotool key --window "$report" Return
window_gone "$report" 20 || fail "the undo report did not close"
sleep 1
shot "$out/after-undo.png"

# The first row is Alpha again: ticking it by its place removes Alpha, not Beta.
click_row 0
click_optimize
wait_gone Alpha
wait_for_complete
expect_value "$run" Beta 'REG_SZ C:\beta.exe'
echo "ok: after the undo, the row on view is the entry removed"
