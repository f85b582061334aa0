#!/usr/bin/env bash
# Update checks against feeds served on 127.0.0.1: a newer version is
# reported (status sentence, update window), the same version is up to date,
# and a 2 MB feed, broken XML and a server that never answers are each
# refused with their message while the stored status record stays as it was.
. "$(dirname "$0")/lib.sh"
require_desktop

feeds=$ARTIFACTS/feeds
mkdir -p "$feeds"
version=$("$TROVIX" --version | awk '{ print $2 }')
[ -n "$version" ] || fail "trovix --version printed no version"

# feed VERSION: an appcast offering VERSION for Linux, and an item for another
# system that must be skipped.
feed() {
    cat <<XML
<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:s="http://www.andymatuschak.org/xml-namespaces/sparkle">
<channel><title>Trovix</title>
<item><title>Trovix 1000</title><s:version>1000</s:version><s:os>windows</s:os></item>
<item><title>Trovix $1</title><link>https://www.quirkworks.com/trovix</link>
<description><![CDATA[<h3>What is new</h3><ul><li>Menus open faster.</li><li>Fewer surprises.</li></ul>]]></description>
<enclosure url="https://www.quirkworks.com/trovix-$1.tar.gz" s:version="$1" s:shortVersionString="$1" length="1" type="application/gzip"/>
</item></channel></rss>
XML
}
feed 99.0 >"$feeds/newer.xml"
feed "$version" >"$feeds/same.xml"
head -c $((2 * 1024 * 1024)) /dev/zero | tr '\0' 'x' >"$feeds/big.xml"
printf '<rss><channel><item><title>cut' >"$feeds/broken.xml"

start_app feed-server python3 "$TROVIX_SOURCE_DIR/tests/integration/feed_server.py" "$feeds" "$ARTIFACTS/port"
server_pid=$APP_PID
wait_for 20 test -s "$ARTIFACTS/port" || fail "the feed server did not start"
port=$(cat "$ARTIFACTS/port")
log "feed server on 127.0.0.1:$port"

use_feed() { "$TROVIX" defaults write SUFeedURL "http://127.0.0.1:$port/$1" >/dev/null || fail "cannot set SUFeedURL"; }
record() { "$TROVIX" defaults read "QXSparkleWrapper Status" 2>/dev/null; }

# check NAME [ENV...]: runs `trovix check-for-updates --print`, its output in
# NAME.out and NAME.err; CHECK_STATUS is its exit status. The check ends on
# its own (refused, loaded or timed out); the cap only guards the test.
check() {
    local name=$1
    shift
    start_app "$name" env "$@" "$TROVIX" check-for-updates --print
    wait_exit "$APP_PID" 60 || fail "$name: the check did not end"
    CHECK_STATUS=$EXIT_STATUS
}

use_feed newer.xml
check newer
[ "$CHECK_STATUS" = 0 ] || fail "newer: exit status $CHECK_STATUS"
expected="Trovix 99.0 is now available! You are currently using Trovix $version."
grep -qxF "$expected" "$ARTIFACTS/newer.out" || fail "newer: printed '$(cat "$ARTIFACTS/newer.out")'"
pass "a newer version is reported: $expected"

use_feed same.xml
check same
[ "$CHECK_STATUS" = 0 ] || fail "same: exit status $CHECK_STATUS"
grep -qxF "Trovix $version is up to date." "$ARTIFACTS/same.out" ||
    fail "same: printed '$(cat "$ARTIFACTS/same.out")'"
pass "the same version is up to date"
good_record=$(record)
[ -n "$good_record" ] || fail "no status record was stored"

# refused NAME FEED MESSAGE [ENV...]: the check fails with MESSAGE, prints no
# sentence, and the record stays.
refused() {
    local name=$1 path=$2 message=$3
    shift 3
    use_feed "$path"
    check "$name" "$@"
    [ "$CHECK_STATUS" = 1 ] || fail "$name: exit status $CHECK_STATUS, expected 1"
    grep -qF "$message" "$ARTIFACTS/$name.err" || fail "$name: said '$(cat "$ARTIFACTS/$name.err")'"
    [ ! -s "$ARTIFACTS/$name.out" ] || fail "$name: printed '$(cat "$ARTIFACTS/$name.out")'"
    [ "$(record)" = "$good_record" ] || fail "$name: the status record changed"
    pass "$name: refused with '$(cat "$ARTIFACTS/$name.err")'; the record is unchanged"
}
refused big big.xml "The update feed is larger than 1 MB."
refused broken broken.xml "The update feed is not a valid appcast"
# The test shortens the 15 s transfer timeout; the variable exists for tests.
refused silent silent "The update server did not answer within 1 s." \
    TROVIX_UPDATE_TRANSFER_TIMEOUT_MS=1000
running "$server_pid" || fail "the feed server ended"

# Without --print the check shows its window, as the menu item does.
use_feed newer.xml
start_app window "$TROVIX" check-for-updates
window_pid=$APP_PID
wait_for_window 60 '^Software Update$'
settled_screenshot update-window
pass "the update window is shown"
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool key Escape
wait_exit "$window_pid" 30 || fail "closing the update window did not end the check"
[ "$EXIT_STATUS" = 0 ] || fail "the check with a window ended with status $EXIT_STATUS"
pass "closing the window (remind me later) ends the check"

# In the running Trovix, "Check for Updates..." in the tray menu shows the
# same window; the preferences window's Updates section then shows the result.
# The screenshots are for a person to look at.
visible_windows() { xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null | sort; }
new_window() { [ -n "$(comm -13 <(echo "$1") <(visible_windows))" ]; }
update_window_of_trovix() { xdotool search --all --onlyvisible --pid "$TROVIX_PID" --name '^Software Update$'; }
"$TROVIX" defaults write "Preferences Section" -string Updates || fail "cannot store the section"
start_trovix
wait_for_tray_icon 60 Trovix
wait_for_window 60 '^Trovix$'
wait_for 30 eval '[ -z "$("$TROVIX" defaults read "Preferences Section" 2>/dev/null)" ]' ||
    fail "the Updates section was not opened"
wait_stable 10 visible_windows || fail "Trovix's windows did not settle"
before=$STABLE
eval "$(xdotool getwindowgeometry --shell "$TRAY_ICON")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) mousedown 1
sleep 0.2
xdotool mouseup 1
wait_for 10 new_window "$before" || fail "the tray menu did not open"
# The second entry: "Check for Updates...".
xdotool key Down Down Return
wait_for 30 update_window_of_trovix || fail "Check for Updates... showed no update window"
pass "Check for Updates... in the tray menu shows the update window"
# Asked for by the user, the window has the focus: Escape reaches it.
[ "$(xdotool getactivewindow)" = "$(update_window_of_trovix)" ] ||
    fail "the update window did not get the focus"
xdotool key Escape
wait_for 10 eval 'expect_trovix_running; ! update_window_of_trovix' || fail "Escape did not close the update window"
settled_screenshot preferences-updates
stop_trovix
pass "the Updates section is shown"

kill -TERM "$server_pid"
wait_exit "$server_pid" 10 || fail "the feed server did not end"
