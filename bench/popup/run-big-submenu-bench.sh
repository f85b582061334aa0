#!/usr/bin/env bash
# Whether the top level of a pop-up waits on the size of a submenu: two GTK
# fixture applications with the same menu bar, one with a 200-item submenu,
# the other with a 20 000-item one, are brought to the front in turn and the
# pop-up of each is asked for ROUNDS times (default 10) from a Trovix that
# keeps running. Prints the median and the highest milliseconds from the
# request (`trovix popup`) until the menu is mapped, from opening the big
# submenu by keyboard until its first screenful is mapped, and the same for
# the printed top level of a new Trovix process
# (`trovix popup --print --depth 1`).
# Run it inside the private desktop:
#   scripts/virtual-desktop run -- bench/popup/run-big-submenu-bench.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(cd "${1:?usage: run-big-submenu-bench.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-10}
[ -n "${TROVIX_DESKTOP_DIR:-}" ] ||
    { echo "run this inside scripts/virtual-desktop run -- $0" >&2; exit 2; }

logs=$TROVIX_DESKTOP_DIR/logs
# The build's own program (a package the tests unpacked holds another copy).
trovix=$build/Trovix.app/Contents/MacOS/trovix
[ -x "$trovix" ] || { echo "no $trovix: build first" >&2; exit 2; }
fixture=$build/tests/fixtures/trovix-fixture-gtk
now_ms() { date +%s%3N; }

# A menu bar like the fixtures' with a submenu of COUNT items in File.
describe() {
    python3 - "$1" "$2" <<'PY'
import json, sys
path, count = sys.argv[1], int(sys.argv[2])
big = [{"title": "Entry %d" % i} for i in range(count)]
menus = [
    {"title": "File", "items": [{"title": "New"}, {"title": "Big", "items": big},
                                {"title": "Quit"}]},
    {"title": "Edit", "items": [{"title": "Undo"}, {"title": "Redo"}]},
    {"title": "Help", "items": [{"title": "About"}]},
]
json.dump({"name": "Big %d" % count, "menus": menus}, open(path, "w"))
PY
}

pids=()
trap 'kill "${pids[@]}" 2>/dev/null' EXIT
declare -A app
for count in 200 20000; do
    describe "$TROVIX_DESKTOP_DIR/big-$count.json" "$count"
    "$fixture" "$TROVIX_DESKTOP_DIR/big-$count.json" >"$logs/bench-big-$count.log" 2>&1 &
    app[$count]=$!
    pids+=($!)
done
for count in 200 20000; do
    for _ in $(seq 120); do
        "$trovix" dump-menu --pid "${app[$count]}" --depth 1 >/dev/null 2>&1 && break
        sleep 0.5
    done
done

"$trovix" >"$logs/bench-big-trovix.log" 2>&1 &
trovix_pid=$!
pids+=($trovix_pid)
for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --pid "$trovix_pid" 2>/dev/null | wc -l)" -ge 1 ] && break
    sleep 0.2
done
sleep 1
windows() { xdotool search --onlyvisible --pid "$trovix_pid" 2>/dev/null | wc -l; }

front() {
    local window
    window=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1)
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    for _ in $(seq 50); do
        [ "$(xdotool getactivewindow getwindowpid 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    echo "process $1 did not come to the front" >&2
    return 1
}

# Milliseconds from `trovix popup` until the menu is mapped.
popup_ms() {
    local before start
    before=$(windows)
    xdotool mousemove 300 200
    start=$(now_ms)
    "$trovix" popup >/dev/null 2>&1
    while [ "$(windows)" -le "$before" ]; do
        [ $(($(now_ms) - start)) -gt 20000 ] && break
    done
    echo $(($(now_ms) - start))
    xdotool key Escape
    for _ in $(seq 100); do
        [ "$(windows)" -le "$before" ] && break
        sleep 0.05
    done
}

# Milliseconds from asking for the big submenu (File, then Big, by keyboard)
# until its first screenful is mapped.
submenu_ms() {
    local before start
    before=$(windows)
    xdotool mousemove 300 200
    "$trovix" popup >/dev/null 2>&1
    while [ "$(windows)" -le "$before" ]; do sleep 0.01; done
    sleep 0.3
    xdotool key Down; sleep 0.2; xdotool key Right; sleep 0.5; xdotool key Down; sleep 0.3
    before=$(windows)
    start=$(now_ms)
    xdotool key Right
    while [ "$(windows)" -le "$before" ]; do
        [ $(($(now_ms) - start)) -gt 20000 ] && break
    done
    echo $(($(now_ms) - start))
    xdotool key Escape Escape Escape
    for _ in $(seq 100); do
        [ "$(windows)" -le 1 ] && break
        sleep 0.05
    done
}

# Milliseconds a new process takes to print the top level.
print_ms() {
    local start
    start=$(now_ms)
    "$trovix" popup --print --depth 1 >/dev/null 2>&1 || true
    echo $(($(now_ms) - start))
}

summary() { sort -n | awk '{v[NR]=$1} END {printf "median %5d ms  highest %5d ms\n", v[int((NR+1)/2)], v[NR]}'; }

declare -A popups prints submenus
for round in $(seq "$rounds"); do
    for count in 200 20000; do
        front "${app[$count]}"
        popups[$count]+="$(popup_ms) "
        submenus[$count]+="$(submenu_ms) "
        prints[$count]+="$(print_ms) "
    done
done
for count in 200 20000; do
    printf '%6d-item submenu: pop-up mapped    ' "$count"
    tr ' ' '\n' <<<"${popups[$count]}" | grep . | summary
    printf '%6d-item submenu: submenu mapped   ' "$count"
    tr ' ' '\n' <<<"${submenus[$count]}" | grep . | summary
    printf '%6d-item submenu: top level printed ' "$count"
    tr ' ' '\n' <<<"${prints[$count]}" | grep . | summary
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
