#!/usr/bin/env bash
# The window at 96, 120 (Large Fonts) and 144 DPI: a screenshot of each page
# at each (e2e-dpi/DPI-PAGE.png, for a person to look at), and the window
# tests of labels and captions run in the same prefix at that DPI: every one
# whole, no two overlapping, the open combo lists wide enough.
# Usage: tests/e2e/dpi.sh BUILD_DIR
set -euo pipefail
. "$(dirname "$0")/common.bash"
# At 144 DPI the window is 1092 pixels wide: more than a 1024 x 768 screen.
e2e_screen=1280x1024x24
e2e_begin "$1" dpi

set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -w
}

for dpi in 96 120 144; do
    set_dpi "$dpi"
    scale=$((dpi * 100 / 96))
    start_quillon
    xdotool mousemove 1023 767
    eval "$(xdotool getwindowgeometry --shell "$window")"
    expected_w=$(((10915 * dpi + 720) / 1440))
    [ "$WIDTH" -eq "$expected_w" ] || fail "at $dpi DPI the window is $WIDTH pixels wide, expected $expected_w"
    for page in System Security Services Startup Speed; do
        case "$page" in
        System) left=3930 ;; Security) left=5280 ;; Startup) left=6630 ;; Speed) left=7980 ;; Services) left=9330 ;;
        esac
        # The page buttons at this DPI's pixels.
        xdotool mousemove --window "$window" $((1 + (left + 667) * dpi / 1440)) $((1 + (450 + 307) * dpi / 1440)) click 1
        xdotool mousemove 1023 767
        wait_until 60 shows_text "[$page]" || fail "at $dpi DPI the $page button did not show its page"
        settled "$window"
        import -window "$window" "$out/$dpi-$page.png"
    done
    kill "$quillon_pid" 2>/dev/null || true
    wineserver -w
    echo "ok: $dpi DPI: a ${WIDTH}x${HEIGHT} window, screenshots taken"
    status=0
    wine "$build/win32/quillon_wine_tests.exe" --gtest_filter='MainWindowLook.*' >"$out/$dpi-look.txt" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "at $dpi DPI the window tests failed: $(grep -E 'Failure|FAILED|Expected|Which|actual' "$out/$dpi-look.txt" | head -20)"
    echo "ok: $dpi DPI: every label and caption whole, none overlapping (scale $scale%)"
done
