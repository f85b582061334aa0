#!/usr/bin/env bash
# The desktop's half of run-hotkey-latency.sh, run inside the X11 virtual
# desktop.
. "$TROVIX_SOURCE_DIR/bench/popup/read_ahead_bench_lib.sh"
rounds=${TROVIX_BENCH_ROUNDS:-12}
fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json

# name, then the command line.
apps=()
add_app() {
    local name=$1
    shift
    command -v "$1" >/dev/null 2>&1 || [ -x "$1" ] || return 0
    start_app "$name" "$@"
    apps+=("$name $APP_PID")
}
export GTK_MODULES=gail:atk-bridge
add_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
add_app fixture-gtk2 "$fixtures/trovix-fixture-gtk2" "$description"
add_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
add_app mousepad mousepad
add_app geany geany
add_app qpdfview qpdfview
add_app kwrite kwrite
add_app featherpad featherpad
add_app kate kate
add_app lowriter lowriter --norestore
sleep 8
# LibreOffice's window belongs to soffice.bin, not to the script that
# started it.
declare -A window_of=() pid_of=()
for entry in "${apps[@]}"; do
    read -r name pid <<<"$entry"
    if [ "$name" = lowriter ]; then
        # lowriter (a shell) starts oosplash, which starts soffice.bin.
        office() { pgrep -n -x soffice.bin -P "$(pgrep -d, -P "$1")" 2>/dev/null; }
        wait_for 60 eval "office $pid >/dev/null" || fail "LibreOffice did not start"
        pid=$(office "$pid")
    fi
    wait_for_window_of 60 "$pid" || fail "$name has no window"
    window_of[$name]=$WINDOW
    pid_of[$name]=$pid
done

measure() {
    local name=$1 quiet=$2 extra=()
    [ "$quiet" = 0 ] && extra=(--signal-pid "${pid_of[$name]}")
    xdotool windowactivate --sync "${window_of[$name]}" >/dev/null 2>&1
    xdotool mousemove --window "${window_of[$name]}" 200 150
    "$bench" --key ctrl+alt+m --rounds "$rounds" --quiet-ms "$quiet" --trovix-pid "$TROVIX_PID" \
        --activate "${window_of[$name]}" "${extra[@]}" | awk '/median_ms/ { print $2 }'
}

declare -A result=()
for mode in before after; do
    start_trovix_for "$mode"
    for entry in "${apps[@]}"; do
        read -r name _ <<<"$entry"
        result[$mode,$name,200]=$(measure "$name" 200)
        case $name in fixture-gtk | fixture-qt) result[$mode,$name,0]=$(measure "$name" 0) ;; esac
    done
    xdotool windowactivate --sync "${window_of[fixture-gtk]}" >/dev/null 2>&1
    sleep 0.3
    result[$mode,all,200]=$("$bench" --key ctrl+alt+a --rounds "$rounds" --quiet-ms 200 \
        --trovix-pid "$TROVIX_PID" |
        awk '/median_ms/ { print $2 }')
    # Idle: every application was in front once; then nobody does anything
    # for 10 s. Resident memory, and the clock ticks Trovix used meanwhile.
    sleep 2
    result[$mode,rss]=$(awk '/^VmRSS/ { print $2 }' "/proc/$TROVIX_PID/status")
    ticks() { awk '{ print $14 + $15 }' "/proc/$TROVIX_PID/stat"; }
    before=$(ticks)
    sleep 10
    result[$mode,ticks]=$(($(ticks) - before))
    stop_trovix
done

printf '%-26s %12s %12s\n' "hot key -> mapped (ms)" "read on key" "read ahead"
for entry in "${apps[@]}"; do
    read -r name _ <<<"$entry"
    printf '%-26s %12s %12s\n' "$name (200 ms)" "${result[before,$name,200]}" "${result[after,$name,200]}"
    if [ -n "${result[before,$name,0]:-}" ]; then
        printf '%-26s %12s %12s\n' "$name (0 ms, changed)" "${result[before,$name,0]}" "${result[after,$name,0]}"
    fi
done
printf '%-26s %12s %12s\n' "all applications (${#apps[@]})" "${result[before,all,200]}" "${result[after,all,200]}"
printf '%-26s %12s %12s\n' "idle RSS (kB)" "${result[before,rss]}" "${result[after,rss]}"
printf '%-26s %12s %12s\n' "idle CPU ticks over 10 s" "${result[before,ticks]}" "${result[after,ticks]}"
pass
