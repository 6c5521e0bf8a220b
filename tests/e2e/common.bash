# Sourced by the end-to-end scripts: quillon.exe installed in a fresh Wine
# prefix of its own, on a virtual screen, driven with xdotool at the places the
# window's layout gives its controls, checked through the registry and pixels.
# Usage in a script: . common.bash; e2e_begin "$1" NAME

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

e2e_begin() {
    build="$(cd "$1" && pwd)"
    exe="$build/win32/quillon.exe"
    [ -f "$exe" ] || { echo "no quillon.exe under $build/win32" >&2; exit 1; }
    . "$repo/tools/wine-env.sh" "$build"
    out="$build/e2e-$2${wine_version:+-$wine_version}"
    export WINEPREFIX="$out/prefix"
    rm -rf "$out"
    mkdir -p "$out"
    xvfb_pid=""
    quillon_pid=""
    trap e2e_end EXIT
    start_screen
    wine_prefix_ready
    "$repo/tools/install-standins.sh" "$build" >/dev/null
    program_dir="$WINEPREFIX/drive_c/Program Files/Quillon"
    mkdir -p "$program_dir"
    cp "$exe" "$program_dir/quillon.exe"
    setup_dat="$program_dir/setup.dat"
}

# A virtual screen on the first free display number; a script may set
# e2e_screen (e.g. 800x600x24) before e2e_begin.
start_screen() {
    local n
    for n in $(seq 70 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${e2e_screen:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "no virtual screen could be started" >&2
    exit 1
}

e2e_end() {
    if [ -n "$quillon_pid" ] && kill -0 "$quillon_pid" 2>/dev/null; then kill "$quillon_pid" 2>/dev/null; fi
    wineserver -w 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}

fail() {
    echo "FAIL: $*" >&2
    shot "$out/failure.png" 2>/dev/null || true
    exit 1
}

# Starts quillon.exe the way a user would and waits for its window.
start_quillon() {
    (cd "$program_dir" && exec wine "C:\\Program Files\\Quillon\\quillon.exe" >/dev/null 2>&1) &
    quillon_pid=$!
    window=$(new_window Quillon 240)
    [ -n "$window" ] || fail "the main window did not appear"
    wait_idle  # first paint and the selection restored
}

# Runs COMMAND... every tenth of a second until it succeeds, for up to
# SECONDS; false if it never does.
wait_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Waits until the thread of the shown window of this title (the main window
# by default) serves its messages again, so whatever it was doing is done,
# and then until the window's pixels stop changing.
wait_idle() {
    wait_until 120 wine "$build/win32/window_text.exe" --idle "${1:-Quillon}" >/dev/null 2>&1 ||
        fail "the window \"${1:-Quillon}\" did not serve its messages"
    settled "${2:-$window}"
}

# Waits until two screenshots of the window (root: the whole screen) a tenth
# of a second apart are the same.
settled() {
    local a="$out/settle-a.png" b="$out/settle-b.png"
    import -window "$1" "$a"
    for _ in $(seq 1 300); do
        sleep 0.1
        import -window "$1" "$b"
        compare -metric AE "$a" "$b" null: >/dev/null 2>&1 && return 0
        mv "$b" "$a"
    done
    fail "the window kept changing"
}

# Does what the rest of the line says, then waits until the screen differs from
# before it in the given box (x y width height of the whole screen) and settles:
# for an action that must show something, such as a menu.
until_shown() {
    local x=$1 y=$2 w=$3 h=$4 before="$out/shown-before.png" now="$out/shown-now.png"
    shift 4
    import -window root -crop "${w}x${h}+$x+$y" +repage "$before"
    "$@"
    for _ in $(seq 1 300); do
        import -window root -crop "${w}x${h}+$x+$y" +repage "$now"
        compare -metric AE "$before" "$now" null: >/dev/null 2>&1 || { settled root; return 0; }
        sleep 0.1
    done
    fail "nothing showed after: $*"
}

# Whether the main window's controls show this text (a label, a caption).
shows_text() { wine "$build/win32/window_text.exe" Quillon 2>/dev/null | tr -d '\r' | grep -qxF -- "$1"; }

# The id of a window whose whole title matches the pattern, that is viewable
# and was not handed out before, waiting up to TRIES quarter seconds; empty
# when none came. A dialog of the same title still closing is never taken
# for the next one. The ids handed out are kept in a file, since callers
# read the id through a subshell; one whose window is gone is dropped, as
# the X server may give its id to a window of the next program.
new_window() {
    local id seen="$out/windows-seen"
    touch "$seen"
    for _ in $(seq 1 "$2"); do
        while read -r id; do
            xwininfo -id "$id" >/dev/null 2>&1 && echo "$id"
        done <"$seen" >"$seen.now"
        mv "$seen.now" "$seen"
        for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
            grep -qx "$id" "$seen" && continue
            xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
            echo "$id" >>"$seen"
            echo "$id"
            return 0
        done
        sleep 0.25
    done
}

# Waits up to TRIES quarter seconds until a window is gone or hidden; false if it stays.
window_gone() {
    for _ in $(seq 1 "$2"); do
        xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
        sleep 0.25
    done
    return 1
}

quillon_running() { kill -0 "$quillon_pid" 2>/dev/null; }
quillon_ended() { ! quillon_running; }

# Pixels of a place in twips, as the window realises it (15 twips a pixel).
px() { echo $((($1 + 7) / 15)); }

# Window pixel offsets of the containers the scripts click in.
main_x=1 main_y=1                                                  # XPCMain
page_x=$((main_x + $(px 180))) page_y=$((main_y + $(px 1170)))     # any page panel
ie_x=$((page_x + $(px 210))) ie_y=$((page_y + $(px 150)))          # XPContainer1
menu_x=$((page_x + $(px 7620))) menu_y=$((page_y + $(px 150)))     # XPContainer2
other_x=$((page_x + $(px 4620))) other_y=$((page_y + $(px 2130)))  # XPContainer7

# Clicks the middle of a control: container offset, then left top width height in twips.
click_control() {
    local x=$(($1 + $(px "$3") + $(px "$5") / 2)) y=$(($2 + $(px "$4") + $(px "$6") / 2))
    xdotool mousemove --window "$window" "$x" "$y" click 1
    wait_idle
}
click_box() { click_control "$1" "$2" "$3" "$4" 195 210; }                  # a chk at its box's place
click_main_button() { click_control "$main_x" "$main_y" "$1" "$2" "$3" 615; }  # left top width
click_optimize() { click_main_button 3900 6540 1815; }
click_page() {
    case "$1" in
    System) click_main_button 3930 450 1335 ;;
    Security) click_main_button 5280 450 1335 ;;
    Startup) click_main_button 6630 450 1335 ;;
    Speed) click_main_button 7980 450 1335 ;;
    Services) click_main_button 9330 450 1335 ;;
    esac
    wait_until 60 shows_text "[$1]" || fail "the $1 button did not show its page"
    settled "$window"
}

shot() { import -window "$window" "$1"; }

# "r,g,b" of a pixel of a screenshot.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

expect_pixel() {  # image x y r,g,b what
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || fail "$5: pixel ($2,$3) is $got, expected $4"
    echo "ok: $5 ($4)"
}

# Width of whatever is written on lblWait: the band between cmdOptimize and
# cmdExit, centred between them as the label is.
wait_text_width() {
    local image=$1 centre top
    centre=$((main_x + $(px 7282))) top=$((main_y + $(px 6660)))
    convert "$image" -crop "150x16+$((centre - 75))+$top" +repage -fuzz 12% -trim -format '%w' info: 2>/dev/null
}

progress_colour="162,205,240"
progress_pixel() { pixel "$1" $((main_x + 4)) $((main_y + $(px 7200) + 6)); }

# Waits until a run is under way: the bar shows in its colour.
wait_for_bar() {
    for _ in $(seq 1 200); do
        shot "$out/run.png"
        [ "$(progress_pixel "$out/run.png")" = "$progress_colour" ] && return 0
        sleep 0.1
    done
    fail "the progress bar never showed in $progress_colour"
}

# Waits until a run has ended: bar hidden and "Optimize complete!" written,
# which is wider than "Optimizing...".
wait_for_complete() {
    local image="$out/poll.png" width
    for _ in $(seq 1 600); do
        shot "$image"
        width=$(wait_text_width "$image")
        if [ "$(progress_pixel "$image")" != "$progress_colour" ] && [ "${width:-0}" -gt 90 ]; then return 0; fi
        sleep 0.25
    done
    fail "the run did not report \"Optimize complete!\""
}

# The data of a registry value as "TYPE DATA", e.g. "REG_DWORD 0x1".
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" 'tolower($1) == tolower(name) { $1 = ""; sub(/^ +/, ""); print; exit }'
}

wait_for_value() {  # key name "TYPE DATA"
    for _ in $(seq 1 240); do
        [ "$(reg_value "$1" "$2")" = "$3" ] && { echo "ok: $1\\$2 = $3"; return 0; }
        sleep 0.5
    done
    fail "$1\\$2 is \"$(reg_value "$1" "$2")\", expected \"$3\""
}

value_changed_from() {  # key name "TYPE DATA"
    local got
    got=$(reg_value "$1" "$2")
    [ -n "$got" ] && [ "$got" != "$3" ]
}

expect_value() {
    local got
    got=$(reg_value "$1" "$2")
    [ "$got" = "$3" ] || fail "$1\\$2 is \"$got\", expected \"$3\""
    echo "ok: $1\\$2 = $3"
}
