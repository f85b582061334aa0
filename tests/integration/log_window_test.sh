#!/usr/bin/env bash
# The log window on a real journal: `trovix show log` without a running Trovix
# says so and exits 1; with one, it opens "Trovix Log", which holds the line
# Trovix wrote at start ("invalid port": a Function-key trigger on a keyboard
# without Fn); lines written while it is open appear by themselves, ten
# identical ones as one line ending "(×10)"; save writes a property list
# holding them; the two view switches, find earlier, clear and the
# debug-logging switch work; moved, closed and opened by a new Trovix, the
# window comes back where it was. The window is read and driven over AT-SPI, as a
# screen reader does (its menu with the keyboard); each state is also kept as a
# screenshot.
#
# The journal is shared with every other Trovix on the machine (other tests,
# other builds), so the lines this test counts carry a word of its own, and
# the lines it expects from this Trovix are told apart by process id in the
# saved file.
. "$(dirname "$0")/lib.sh"
require_desktop
[ -x "$(dirname "$TROVIX")/trovix-log" ] || fail "no trovix-log beside trovix"
require_journald

accessible=$(dirname "$0")/accessible.py
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

# The element NAME of the log window over AT-SPI: its text, its states, or
# one of its actions performed.
element() { "$accessible" "$TROVIX_PID" "Trovix Log" "$@"; }
log_text() { element Log text; }
# Whether the log as shown holds a line matching the extended regular
# expression PATTERN (COUNT such lines when given). The text is read whole
# before it is searched: a search that stops early would break the reader's
# pipe.
shows() {
    local pattern=$1 count=${2:-} text
    text=$(log_text) || return 1
    if [ -n "$count" ]; then
        [ "$(grep -cE -- "$pattern" <<<"$text")" = "$count" ]
    else
        grep -qE -- "$pattern" <<<"$text"
    fi
}
press() { element "$1" "do" Press || fail "cannot press '$1' in the log window"; }
header() {
    local text
    text=$(log_text) || return 1
    echo "${text%%$'\n'*}"
}
# Whether no query for older lines is running (the title is plain again).
idle() { [ "$(xdotool getwindowname "$log_window")" = "Trovix Log" ]; }
setting() { "$TROVIX" defaults read "$1" 2>/dev/null; }

# Brings the log window to the front; keys then reach it and its menu.
activate_log_window() {
    xdotool windowactivate --sync "$log_window" >/dev/null 2>&1
    wait_for 10 eval '[ "$(xdotool getactivewindow)" = "$log_window" ]' ||
        fail "the log window did not come to the front"
}

# How many override-redirect windows of Trovix are on screen: its tray icon,
# and each menu (or tool tip, which needs the pointer over a control).
pop_ups() {
    local window count=0
    for window in $(xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null); do
        xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
            count=$((count + 1))
    done
    echo "$count"
}

# Chooses item N of the View menu with the keyboard: the menu opens with no
# item selected, so N times Down selects item N. The pointer stays away from
# the window, where it would select a menu item or show a tool tip.
view_item() {
    local keys=() before
    for _ in $(seq 1 "$1"); do keys+=(Down); done
    activate_log_window
    xdotool mousemove 0 0
    before=$(pop_ups)
    press View
    wait_for 10 eval '[ "$(pop_ups)" -gt "$before" ]' || fail "the View menu did not open"
    xdotool key --delay 50 "${keys[@]}" Return
    wait_for 10 eval '[ "$(pop_ups)" = "$before" ]' || fail "the View menu did not close"
    expect_trovix_running
}

saved="$ARTIFACTS/saved.plist"
# Saves the log as $saved through the Save Log dialog, filled in over AT-SPI.
save_log() {
    rm -f "$saved"
    press Save
    wait_for_window 30 "^Save Log$"
    "$accessible" "$TROVIX_PID" "Save Log" "File name:" set "$saved" ||
        fail "cannot fill in the file name of the Save Log dialog"
    "$accessible" "$TROVIX_PID" "Save Log" Save "do" Press || fail "cannot press Save in the Save Log dialog"
    wait_for 30 test -s "$saved" || fail "saving did not write $saved"
}
# How many saved entries of this Trovix have a message that matches the
# regular expression PATTERN (Python's).
saved_count() {
    python3 - "$saved" "$TROVIX_PID" "$1" <<'PY'
import plistlib, re, sys
with open(sys.argv[1], "rb") as file:
    entries = plistlib.load(file)
pattern = re.compile(sys.argv[3])
print(sum(1 for e in entries
          if e.get("processID") == int(sys.argv[2]) and pattern.search(e.get("eventMessage", ""))))
PY
}

wait_for 120 shows ": invalid port( \(×[0-9]+\))?$" || fail "the start-up line is not in the log"
settled_screenshot 1-opened
pass "the log window shows the start-up line"

# Ten identical lines written while the window is open.
word="nowhere-$$-$RANDOM"
line="unknown window requested: $word"
for _ in $(seq 1 10); do
    dbus-send --session --type=method_call --dest=com.quirkworks.Trovix \
        /com/quirkworks/Trovix com.quirkworks.Trovix.Show "string:$word" ||
        fail "cannot ask Trovix to show '$word'"
done
wait_for 60 shows "\| trovix: $line \(×10\)$" ||
    fail "ten lines written while the window is open do not show as one '$line (×10)': $(log_text | grep -F "$word")"
shows "$line" 1 || fail "the ten lines show as more than one: $(log_text | grep -F "$word")"
settled_screenshot 2-live-coalesced
pass "lines written while open appear by themselves, ten identical ones as one line with (×10)"

save_log
[ "$(saved_count "^$line\$")" = 10 ] || fail "the saved log holds $(saved_count "^$line\$") of the ten lines"
[ "$(saved_count "^invalid port\$")" -ge 1 ] || fail "the saved log lacks this Trovix's start-up line"
pass "save writes a property list with all ten lines and the start-up line"

# Show Sender (item 1) off: the line reads "<time>: <message>".
view_item 1
wait_for 10 eval '[ "$(setting ILRIntegratedLogReaderHideSender)" = 1 ]' ||
    fail "Show Sender did not hide the sender"
wait_for 10 shows "[0-9]: $line \(×10\)$" || fail "the sender still shows: $(log_text | grep -F "$word")"
shows "\| trovix: " 0 || fail "some line still shows its sender"
# Coalesce Repeated Messages (item 2) off: ten lines.
view_item 2
wait_for 10 eval '[ "$(setting ILRIntegratedLogReaderDisableCoalescing)" = 1 ]' ||
    fail "Coalesce Repeated Messages did not switch coalescing off"
wait_for 10 shows "[0-9]: $line$" 10 || fail "coalescing off shows $(log_text | grep -cF "$word") lines of the ten"
settled_screenshot 3-sender-hidden-coalescing-off
# Both on again: the keys are removed, not set to NO.
view_item 1
view_item 2
wait_for 10 eval '! setting ILRIntegratedLogReaderHideSender && ! setting ILRIntegratedLogReaderDisableCoalescing' ||
    fail "switching the sender and coalescing back on stored a value instead of removing it"
wait_for 10 shows "\| trovix: $line \(×10\)$" || fail "the sender and the (×10) did not come back"
pass "the view switches hide the sender and coalescing, store YES and remove the key again"

# Find earlier: the last day instead of the last hour.
[[ $(header) == "⇤ 1 hour before "* ]] || fail "the header reads '$(header)', not the last hour"
press "Find Earlier Messages"
wait_for 30 eval '[[ $(header) == "⇤ 1 day before "* ]]' || fail "find earlier did not go back a day: '$(header)'"
wait_for 120 idle || fail "the query for the last day did not end"
shows "$line \(×10\)$" || fail "the lines of the last hour are gone after find earlier"
settled_screenshot 4-found-earlier
pass "find earlier reads the last day (the header reads '$(header)')"

element "Debug Logging" "do" Toggle || fail "cannot toggle Debug Logging over AT-SPI"
wait_for 10 eval '[ "$(setting QXDebugLog)" = 1 ]' ||
    fail "the debug-logging switch did not store QXDebugLog"
states=$(element "Debug Logging" states) || fail "cannot read the debug-logging switch over AT-SPI"
grep -qx checked <<<"$states" || fail "the debug-logging switch reads as: $states"
pass "the debug-logging switch stores QXDebugLog"

# Clear: the header names no period any more, and the lines are gone (lines
# other Trovix processes write meanwhile may show).
press Clear
wait_for 10 eval '[[ $(header) == "⇤ "* && $(header) != *" before "* ]]' ||
    fail "clear did not start an empty log: '$(header)'"
shows "$word" 0 || fail "clear left lines: $(log_text | grep -F "$word")"
settled_screenshot 5-cleared
pass "clear empties the log"

# Find earlier after clear reads the last hour again; with debug logging on,
# the reader's own debug lines arrive too.
press "Find Earlier Messages"
wait_for 30 eval '[[ $(header) == "⇤ 1 hour before "* ]]' || fail "find earlier after clear reads '$(header)'"
wait_for 120 idle || fail "the query for the last hour did not end"
wait_for 30 shows "$line \(×10\)$" || fail "find earlier after clear did not bring the lines back"
debug_line_saved() { save_log && [ "$(saved_count '^\[ILR\] archive query: ')" -ge 1 ]; }
wait_for 60 debug_line_saved || fail "debug lines of this Trovix do not reach the log"
settled_screenshot 6-debug-lines
pass "with debug logging on, the reader's debug lines arrive"

# The frame is kept: the window moved and closed comes back where it was when
# a new Trovix opens it.
frame_key="Window Frame com.quirkworks.Trovix.ILRLogWindow"
xdotool windowmove --sync "$log_window" 97 83 >/dev/null 2>&1
eval "$(xdotool getwindowgeometry --shell "$log_window")"
moved="$X $Y $WIDTH $HEIGHT"
activate_log_window
xdotool key ctrl+w
wait_for 10 eval '! xdotool search --onlyvisible --name "^Trovix Log" >/dev/null 2>&1' ||
    fail "Ctrl+W did not close the log window"
wait_for 10 eval '[ -n "$(setting "$frame_key")" ]' || fail "the log window's frame was not saved"
saved_frame=$(setting "$frame_key")
stop_trovix
start_trovix
wait_for 60 dbus-send --session --print-reply --dest=com.quirkworks.Trovix \
    /com/quirkworks/Trovix org.freedesktop.DBus.Introspectable.Introspect >/dev/null ||
    fail "the new Trovix does not answer on the session bus"
"$TROVIX" show log || fail "show log failed with the new Trovix running"
wait_for_window 60 "^Trovix Log"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
reopened="$X $Y $WIDTH $HEIGHT"
settled_screenshot 7-reopened
[ "$reopened" = "$moved" ] ||
    fail "the log window reopened at $reopened (x y width height), not where it was moved: $moved (saved: $saved_frame)"
pass "the log window reopened after a move comes back where it was ($reopened)"

stop_trovix
