#!/usr/bin/env bash
# The desktop's half of run-big-submenu-bench.sh, run inside the X11
# virtual desktop.
. "$TROVIX_SOURCE_DIR/bench/popup/read_ahead_bench_lib.sh"
rounds=${TROVIX_BENCH_ROUNDS:-10}

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

counts=(200 20000)
declare -A window_of=() pid_of=()
for count in "${counts[@]}"; do
    describe "$TROVIX_ARTIFACTS/big-$count.json" "$count"
    start_app "big-$count" "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-gtk" \
        "$TROVIX_ARTIFACTS/big-$count.json"
    pid_of[$count]=$APP_PID
    wait_for_window_of 60 "$APP_PID" || fail "the $count-item fixture has no window"
    window_of[$count]=$WINDOW
    # A GTK application makes its accessible objects on the first request:
    # the first read of a 20 000-item menu runs into the messaging timeout.
    wait_for 120 eval "'$TROVIX' dump-menu --pid $APP_PID --depth 1 >/dev/null 2>&1" ||
        fail "the $count-item fixture's menus cannot be read"
done

hot_key() {
    "$bench" --key ctrl+alt+m --rounds "$rounds" --quiet-ms 300 --trovix-pid "$TROVIX_PID" \
        --activate "${window_of[$1]}" "${@:2}" | awk '/median_ms/ { print $2 }'
}
printed() {
    local times=() start
    for _ in $(seq "$rounds"); do
        start=$(date +%s%N)
        "$TROVIX" popup --print --depth 1 >/dev/null 2>&1 || true
        times+=($((($(date +%s%N) - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

declare -A result=()
for mode in before after; do
    start_trovix_for "$mode"
    for count in "${counts[@]}"; do
        xdotool windowactivate --sync "${window_of[$count]}" >/dev/null 2>&1
        xdotool mousemove --window "${window_of[$count]}" 100 100
        result[$mode,$count,popup]=$(hot_key "$count")
        result[$mode,$count,submenu]=$(hot_key "$count" --then Down,Right,Down,Right)
        result[$mode,$count,print]=$(printed)
    done
    stop_trovix
done

printf '%-34s %12s %12s\n' "median (ms)" "read on key" "read ahead"
for count in "${counts[@]}"; do
    printf '%-34s %12s %12s\n' "$count items: hot key -> pop-up" \
        "${result[before,$count,popup]}" "${result[after,$count,popup]}"
    printf '%-34s %12s %12s\n' "$count items: key -> submenu shown" \
        "${result[before,$count,submenu]}" "${result[after,$count,submenu]}"
    printf '%-34s %12s %12s\n' "$count items: printed by a new process" \
        "${result[before,$count,print]}" "${result[after,$count,print]}"
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
pass
