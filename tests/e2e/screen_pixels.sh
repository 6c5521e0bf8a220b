#!/usr/bin/env bash
# What the screen shows: header gradient rows in preset 4's colours, the page
# panel's and a button's border, the progress bar's colour during a run and its
# absence after it, the status text centred between Optimize and Exit; and a
# screenshot of each of the five pages, kept in the build folder
# (e2e-screen/page-*.png) for a person to look at.
# Usage: tests/e2e/screen_pixels.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_begin "$1" screen

start_quillon
xdotool mousemove 1000 700  # nothing hot
wait_idle
shot "$out/start.png"
image="$out/start.png"

# XPCMain's header strip: rows 0 to 22 of the strip, one pixel inside the
# panel, which itself starts one pixel into the window.
strip_top=$((main_y + 1))
expect_pixel "$image" 600 "$strip_top" "200,227,241" "header gradient, first row"
expect_pixel "$image" 600 $((strip_top + 22)) "146,201,228" "header gradient, last row"
expect_pixel "$image" 600 "$main_y" "136,196,226" "XPCMain border"

# XPCSystem, preset 10: one-pixel border all round.
page_w=$(px 10515) page_h=$(px 5265)
expect_pixel "$image" "$page_x" $((page_y + 200)) "207,210,214" "page panel border, left"
expect_pixel "$image" $((page_x + page_w - 1)) $((page_y + 200)) "207,210,214" "page panel border, right"
expect_pixel "$image" $((page_x + 300)) $((page_y + page_h - 1)) "207,210,214" "page panel border, bottom"

# cmdOptimize, Style 5: dark blue border, corners cut off.
button_x=$((main_x + $(px 3900))) button_y=$((main_y + $(px 6540)))
expect_pixel "$image" $((button_x + 60)) "$button_y" "0,60,116" "button border, top"
expect_pixel "$image" "$button_x" $((button_y + 20)) "0,60,116" "button border, left"

# lblWait and Shape2 show nothing before a run.
[ "$(progress_pixel "$image")" != "$progress_colour" ] || fail "the progress bar shows before a run"
[ "$(wait_text_width "$image")" -le 2 ] || fail "lblWait shows text before a run"
echo "ok: no progress bar and no status text before a run"

# A System run: the bar shows in its colour while the run goes on, then goes.
# Recommand's boxes make a run of many steps, long enough to be seen on a busy
# machine.
click_main_button 240 6540 1815
settled "$window"
click_optimize
wait_for_bar
echo "ok: progress bar colour $progress_colour during the run"
wait_for_complete
echo "ok: progress bar gone and \"Optimize complete!\" after the run"
# The status text stands centred between Optimize and Exit, as its longer form does.
band_left=$((main_x + $(px 5715))) band_right=$((main_x + $(px 8850)))
read -r ink_w ink_x < <(convert "$out/poll.png" -crop "$((band_right - band_left))x16+$band_left+$((main_y + $(px 6660)))" \
    +repage -fuzz 12% -trim -format '%w %X\n' info:)
off=$((2 * (band_left + ${ink_x#+}) + ink_w - band_left - band_right))
[ "${off#-}" -le 4 ] || fail "\"Optimize complete!\" stands $((off / 2)) pixels off the middle between Optimize and Exit"
echo "ok: \"Optimize complete!\" centred between Optimize and Exit"

# The five pages, for the eye.
for page in Security Services Startup Speed System; do
    click_page "$page"
    xdotool mousemove 1000 700
    wait_idle
    shot "$out/page-$page.png"
done
# A click on the first service entry shows its text in lblInfo below the list.
click_page Services
service_x=$((page_x + $(px 300))) service_y=$((page_y + $(px 540)))
xdotool mousemove --window "$window" $((service_x + 60)) $((service_y + 8)) click 1
wait_until 60 shows_text "Alerter    (System Management Alart)" || fail "a click on Alerter did not show its description"
settled "$window"
shot "$out/service.png"
info_width=$(convert "$out/service.png" -crop "500x20+$((page_x + $(px 300)))+$((page_y + $(px 4770)))" +repage \
    -fuzz 12% -trim -format '%w' info:)
[ "$info_width" -gt 150 ] || fail "lblInfo shows no description (text width $info_width)"
echo "ok: a service entry's description shows in lblInfo"

# Only the page shown changes: the banner is on the System page alone.
banner_x=$((page_x + $(px 3480) + 10)) banner_y=$((page_y + $(px 180) + 70))
[ "$(pixel "$out/page-System.png" "$banner_x" "$banner_y")" != "$(pixel "$out/page-Speed.png" "$banner_x" "$banner_y")" ] ||
    fail "the Speed page shows the System page's banner"
echo "ok: five page screenshots in $out"
