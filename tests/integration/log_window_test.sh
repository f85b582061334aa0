#!/usr/bin/env bash
# The log window on a real journal: `trovix show log` without a running Trovix
# says so and exits 1; with one, it opens "Trovix Log", which holds the line
# Trovix wrote at start ("invalid port": a Function-key trigger on a keyboard
# without Fn); lines written while it is open appear by themselves, ten
# identical ones as one "(×10)"; save writes a property list holding them;
# the two view switches, find earlier, clear and the debug-logging switch
# work. Every state is kept as a screenshot.
. "$(dirname "$0")/lib.sh"
require_desktop
[ -x "$(dirname "$TROVIX")/trovix-log" ] || fail "no trovix-log beside trovix"
require_journald

defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }

output=$("$TROVIX" show log 2>&1)
status=$?
[ "$status" = 1 ] || fail "show log without Trovix: exit $status, expected 1"
grep -q "not running" <<<"$output" || fail "show log without Trovix says: $output"
pass "show log without a running Trovix: '$output', exit 1"

defaults write "Enable Right Click Trigger: Modifier" -int 3
defaults write "Stealth Mode" -bool YES
start_trovix
wait_for 60 dbus-send --session --print-reply --dest=com.quirkworks.Trovix \
    /com/quirkworks/Trovix org.freedesktop.DBus.Introspectable.Introspect ||
    fail "Trovix does not answer on the session bus"
"$TROVIX" show log || fail "show log failed with Trovix running"
# The title carries " — Finding Older Messages…" until the archive query ends.
wait_for_window 120 "^Trovix Log$"
log_window=$WINDOW

# Controls along the bottom of the window, placed from its geometry.
# (xwininfo: xdotool's position includes the window manager's title bar.)
geometry() {
    local info
    info=$(xwininfo -id "$log_window")
    X=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
    Y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
    WIDTH=$(awk '/^ *Width/ { print $NF }' <<<"$info")
    HEIGHT=$(awk '/^ *Height/ { print $NF }' <<<"$info")
    bar_y=$((Y + HEIGHT - 17))
}
click() {
    xdotool mousemove "$1" "$bar_y" click 1
}
find_earlier() { geometry; click $((X + 44)); }
clear_log() { geometry; click $((X + 130)); }
save_button() { geometry; click $((X + WIDTH - 99)); }
debug_switch() { geometry; click $((X + WIDTH - 168)); }
view_item() { # N-th item of the view menu
    geometry
    click $((X + WIDTH - 30))
    sleep 0.5
    xdotool mousemove $((X + WIDTH + 30)) $((bar_y + 21 + 22 * ($1 - 1))) click 1
}

saved="$ARTIFACTS/saved.plist"
save_log() {
    rm -f "$saved"
    xdotool windowactivate --sync "$log_window" >/dev/null 2>&1
    save_button
    wait_for_window 30 "^Save Log$"
    xdotool key ctrl+a
    xdotool type --delay 10 "$saved"
    xdotool key Return
    wait_for 30 test -s "$saved"
}
# Count of saved entries whose message is MESSAGE.
saved_count() {
    python3 -c 'import plistlib, sys
print(sum(1 for e in plistlib.load(open(sys.argv[1], "rb")) if e.get("eventMessage") == sys.argv[2]))' \
        "$saved" "$1"
}
saved_holds() { save_log && [ "$(saved_count "$1")" -ge "${2:-1}" ]; }

wait_for 120 saved_holds "invalid port" || fail "the start-up line is not in the log"
settled_screenshot 1-opened
pass "the log window shows the line Trovix wrote at start"

for i in $(seq 1 10); do
    dbus-send --session --type=method_call --dest=com.quirkworks.Trovix \
        /com/quirkworks/Trovix com.quirkworks.Trovix.Show string:nowhere
done
wait_for 60 saved_holds "unknown window requested: nowhere" 10 ||
    fail "lines written while the window is open do not appear"
settled_screenshot 2-live-coalesced
pass "lines written while open appear by themselves (see 2-live-coalesced: one line, (×10))"

view_item 1
view_item 2
settled_screenshot 3-sender-hidden-coalescing-off
[ "$("$TROVIX" defaults read ILRIntegratedLogReaderHideSender)" = 1 ] ||
    fail "Show Sender did not hide the sender"
[ "$("$TROVIX" defaults read ILRIntegratedLogReaderDisableCoalescing)" = 1 ] ||
    fail "Coalesce Repeated Messages did not switch coalescing off"
view_item 1
view_item 2
"$TROVIX" defaults read ILRIntegratedLogReaderHideSender >/dev/null 2>&1 &&
    fail "switching the sender back on stored a value instead of removing it"
pass "the view switches store YES and remove the key again"

find_earlier
wait_for 10 xdotool search --name "Finding Older Messages" || log "note: find earlier ended at once"
wait_for_window 120 "^Trovix Log$"
settled_screenshot 4-found-earlier
pass "find earlier ran (see 4-found-earlier: the header reads 1 day before)"

debug_switch
wait_for 10 eval '[ "$("$TROVIX" defaults read QXDebugLog)" = 1 ]' ||
    fail "the debug-logging switch did not store QXDebugLog"
clear_log
settled_screenshot 5-cleared
find_earlier
wait_for_window 120 "^Trovix Log$"
wait_for 60 saved_holds "unknown window requested: nowhere" 0 || true
python3 -c 'import plistlib, sys
entries = plistlib.load(open(sys.argv[1], "rb"))
sys.exit(0 if any(e.get("eventMessage", "").startswith("[ILR] archive query") for e in entries) else 1)' \
    "$saved" || fail "debug lines do not reach the log at once"
settled_screenshot 6-debug-lines
pass "with debug logging on, the reader's debug lines arrive"
