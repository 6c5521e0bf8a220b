#!/usr/bin/env bash
# The window by keyboard alone: at start the page's first box has the focus; Tab
# walks the System page in screen order (down each column, Combo3 after the
# box whose caption it ends, the cache options after chk 75, Down among them),
# each box showing its focus around its label; Enter on the Security button shows that page;
# Space on a box ticks it.
# Usage: tests/e2e/keyboard.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
e2e_begin "$1" keyboard

# A place of the window as a crop: container x y, left top in twips, pixels w h.
region() { echo "${5}x${6}+$(($1 + $(px "$3")))+$(($2 + $(px "$4")))"; }
crop() { convert "$1" -crop "$2" +repage "$3"; }

# Waits until the region shows otherwise than in the start screenshot: the
# focus has come there (a box's label gains its dotted frame).
expect_focus() {  # region what
    local now="$out/now.png"
    for _ in $(seq 1 300); do
        shot "$now"
        crop "$now" "$1" "$out/a.png"
        [ "$(compare -metric AE "$out/a.png" "$out/start-$1.png" null: 2>&1 || true)" != 0 ] && return 0
        sleep 0.1
    done
    fail "Tab did not bring the focus to $2"
}

start_quillon
xdotool mousemove 1000 700  # nothing hot
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
wait_idle
shot "$out/start.png"

# The focus order of the System page, as the screen shows it: places in the
# page, in twips (a box's place; its label stands to its right).
system_order=(
    "660 660 Combo2"
    "270 1590 chk56" "3150 1560 Combo3" "270 1950 chk55" "270 2280 chk54" "270 2610 chk43" "270 2940 chk44"
    "270 3270 chk47" "270 3600 chk48" "270 3930 chk49" "270 4260 chk50" "270 4590 chk51" "270 4920 chk53"
    "4170 1590 chk67" "4170 1920 chk66" "4170 2250 chk65" "4170 2580 chk57" "4170 2910 chk58" "4170 3270 chk59"
    "4170 3570 chk60" "4170 3900 chk61" "4170 4230 chk62" "4170 4560 chk63" "4170 4890 chk64"
    "6930 1590 chk68" "6930 1920 chk69" "6930 2250 chk70" "6930 2580 chk71" "6930 2910 chk72" "6930 3240 chk73"
    "6930 3570 chk74" "6930 3900 chk75" "7140 4260 Opt(0)" "6930 4890 chk76"
)
regions=()
names=()
for entry in "${system_order[@]}"; do
    read -r left top name <<<"$entry"
    regions+=("$(region "$page_x" "$page_y" "$left" "$((top - 45))" 90 19)")
    names+=("$name")
done
auto_region=$(region "$main_x" "$main_y" 210 450 125 41)
top_regions=("$(region "$main_x" "$main_y" 3930 450 89 41)" "$(region "$main_x" "$main_y" 5280 450 89 41)"
    "$(region "$main_x" "$main_y" 6630 450 89 41)" "$(region "$main_x" "$main_y" 7980 450 89 41)"
    "$(region "$main_x" "$main_y" 9330 450 89 41)")
suggest_region=$(region "$main_x" "$main_y" 240 6540 121 41)
for r in "${regions[@]}" "$auto_region" "${top_regions[@]}" "$suggest_region"; do
    crop "$out/start.png" "$r" "$out/start-$r.png"
done

# At start the focus is on chk 56, the System page's first box: Shift+Tab
# takes it to Combo2, and six more to Auto Optimize.
xdotool key shift+Tab
expect_focus "${regions[1]}" "away from chk 56 (it had no focus at start)"
echo "ok: the page's first box has the focus at start"
shot "$out/chk56-left.png"
crop "$out/chk56-left.png" "${regions[1]}" "$out/start-${regions[1]}.png"
for _ in 1 2 3 4 5 6; do xdotool key shift+Tab; done
expect_focus "$auto_region" "Auto Optimize, six Shift+Tabs before Combo2"
crop "$out/start.png" "${top_regions[0]}" "$out/start-${top_regions[0]}.png"
xdotool key Tab
names_top=(System Security Startup Speed Services)
expect_focus "${top_regions[0]}" System
for i in 1 2 3 4; do
    xdotool key Tab
    expect_focus "${top_regions[$i]}" "${names_top[$i]}"
done
opt1_region=$(region "$page_x" "$page_y" 8190 4215 90 19)
crop "$out/start.png" "$opt1_region" "$out/start-$opt1_region.png"
for i in "${!regions[@]}"; do
    xdotool key Tab
    expect_focus "${regions[$i]}" "${names[$i]}"
    # Down goes on to the next cache size, as in any group of options.
    if [ "${names[$i]}" = "Opt(0)" ]; then
        xdotool key Down
        expect_focus "$opt1_region" "Opt(1), Down from Opt(0)"
    fi
done
xdotool key Tab
expect_focus "$suggest_region" "Recommand after the System page"
shot "$out/system-walked.png"
echo "ok: Tab walks the System page in screen order, then the bottom row"

# Back to Security with Shift+Tab, and Enter there shows the Security page.
for _ in $(seq 1 $((${#regions[@]} + 4))); do xdotool key shift+Tab; done
wait_idle
xdotool key Return
tick_dark_pixels() {  # container x y, box left top twips: dark pixels inside the box
    local x=$(($1 + $(px "$3") + 2)) y=$(($2 + $(px "$4") + 2))
    shot "$out/ticks.png"
    convert "$out/ticks.png" -crop "9x9+$x+$y" +repage -colorspace gray -threshold 40% -format '%[fx:int(w*h*(1-mean))]' info:
}
security_box_visible() {  # chk 0's square is the window's colour only on the Security page
    shot "$out/page.png"
    [ "$(pixel "$out/page.png" $((ie_x + $(px 240) + 6)) $((ie_y + $(px 450) + 6)))" = "255,255,255" ]
}
wait_until 60 security_box_visible || fail "Enter on the Security button did not show the Security page"
shot "$out/security.png"
echo "ok: Enter on a focused page button presses it"

# From Security, Tab past Startup, Speed and Services to chk 0; Space ticks it.
for _ in 1 2 3 4; do xdotool key Tab; done
xdotool key space
chk0_ticked() { [ "$(tick_dark_pixels "$ie_x" "$ie_y" 240 450)" -gt 4 ]; }
wait_until 60 chk0_ticked || fail "Space on chk 0 did not tick it"
shot "$out/ticked.png"
echo "ok: Space on a focused box ticks it"
