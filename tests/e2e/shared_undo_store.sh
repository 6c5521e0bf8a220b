#!/usr/bin/env bash
# Two computers, each a Wine prefix of its own under its own host name, apply
# turn about into one shared undo folder: each keeps its own 20 records, and
# UNDO on each takes back its own last run. Needs root for a host name of its own.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "$1" && pwd)"
quillonc="$build/win32/quillonc.exe"
. "$repo/tools/wine-env.sh" "$build"
out="$build/e2e-shared-undo-store${wine_version:+-$wine_version}"
rm -rf "$out"
mkdir -p "$out/shared"
shared="Z:$out/shared"
unshare -u true 2>/dev/null || { echo "SKIP: no host name of its own can be set here (needs root)"; exit 77; }

# Runs the commands of a script in COMPUTER's prefix under COMPUTER's host name.
as_computer() {
    unshare -u bash -c 'hostname "$0"; export WINEPREFIX="$1" quillonc="$2" shared="$3"; eval "$4"; status=$?; wineserver -w; exit $status' \
        "$1" "$out/$1" "$quillonc" "$shared" "$2"
}
auto_reboot() {
    WINEPREFIX="$out/$1" wine reg query 'HKLM\System\CurrentControlSet\Control\CrashControl' /v AutoReboot 2>/dev/null |
        tr -d '\r' | awk '/AutoReboot/ {print $3}'
    WINEPREFIX="$out/$1" wineserver -w
}
fail() { echo "FAIL: $*" >&2; exit 1; }

for computer in PCONE PCTWO; do
    WINEPREFIX="$out/$computer" wine_prefix_ready
done
# Both at once, so their runs interleave and some fall in the same second.
for computer in PCONE PCTWO; do
    as_computer "$computer" '
        for run in $(seq 1 22); do
            side=$([ $((run % 2)) -eq 1 ] && echo /on || echo /off)
            wine "$quillonc" APPLY $side 54 /undodir "$shared" /wait 300 > "$WINEPREFIX/apply.txt" 2>&1 ||
                { echo "APPLY $run: $(cat "$WINEPREFIX/apply.txt")"; exit 1; }
            grep -q "^undo	$shared" "$WINEPREFIX/apply.txt" || { echo "APPLY $run kept no record"; exit 1; }
        done' > "$out/runs-$computer.txt" 2>&1 &
done
for job in $(jobs -p); do wait "$job" || fail "the runs did not all keep a record: $(cat "$out"/runs-*.txt)"; done

for computer in PCONE PCTWO; do
    as_computer "$computer" 'wine "$quillonc" UNDO /list /undodir "$shared"' | tr -d '\r' > "$out/list-$computer.txt"
    own=$(awk -F'\t' -v c="$computer" '$3 == c' "$out/list-$computer.txt" | wc -l)
    [ "$own" -eq 20 ] || fail "$computer lists $own of its own records, not 20: $(cat "$out/list-$computer.txt")"
done
# Each one's last run set AutoReboot to 0 (/off); its undo puts back its 1.
for computer in PCONE PCTWO; do
    [ "$(auto_reboot "$computer")" = "0x0" ] || fail "$computer: AutoReboot is not 0 after its last run"
    as_computer "$computer" 'wine "$quillonc" UNDO /undodir "$shared"' > "$out/undo-$computer.txt" 2>&1 || fail "UNDO on $computer: $(cat "$out/undo-$computer.txt")"
    [ "$(auto_reboot "$computer")" = "0x1" ] || fail "$computer: its UNDO did not take back its own last run"
done
echo "each computer kept its own 20 records and took back its own last run"
