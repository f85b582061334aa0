#!/usr/bin/env bash
# Trovix's own windows and features in a Wayland session, where they stay X11
# windows on Xwayland: the login item is switched on, read and switched off;
# an update check against a feed on 127.0.0.1 shows its result in a window,
# an X11 one too; the log window shows Trovix's own journal entries; the help
# window opens on its first page, and its search, typed on the compositor's
# keyboard, finds another page, which opens. Everything is read over AT-SPI, as a screen reader
# reads it. A window asked for while another of Trovix's has the focus comes
# forward: GNOME Shell gives it the focus, sway (whose default is to leave
# the focus where it is) marks it urgent. The preferences window,
# fourth beside the update, log and help windows (sway tiles it a quarter of
# the output wide), scrolls no section sideways. Screenshots are kept.
#
# Run by tests/wayland/with_journal.sh, which gives the session a journal it
# may read; without one the log window goes unchecked (and CI fails).
. "$(dirname "$0")/lib.sh"

accessible=$TROVIX_SOURCE_DIR/tests/integration/accessible.py
defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }
element() { "$accessible" "$@" 2>>"$ARTIFACTS/accessible.err"; }

# Faceless, without the Wayland notice: no window opens at launch (neither
# desktop has a tray).
defaults write "Stealth Mode" -bool YES
defaults write QXWaylandNoticeShown -bool YES
defaults write "Application Mode" -int 2

start_keyboard
# GNOME Shell starts in the overview, which keeps the keyboard.
[ "$TROVIX_COMPOSITOR" = gnome-shell ] && press_keys 56 1

# --- The login item -----------------------------------------------------------
entry=$XDG_CONFIG_HOME/autostart/com.quirkworks.Trovix.desktop
login_status() { "$TROVIX" login-item status 2>>"$ARTIFACTS/login-item.err"; }
"$TROVIX" login-item on 2>>"$ARTIFACTS/login-item.err" || fail "login-item on failed"
grep -qxF "Exec=\"$(readlink -f "$TROVIX")\"" "$entry" 2>/dev/null ||
    fail "login-item on wrote no autostart entry that runs Trovix: $(cat "$entry" 2>&1)"
[ "$(login_status)" = on ] || fail "login-item status reads '$(login_status)' with the entry written"
"$TROVIX" login-item off 2>>"$ARTIFACTS/login-item.err" || fail "login-item off failed"
[ ! -e "$entry" ] || fail "login-item off left $entry"
[ "$(login_status)" = off ] || fail "login-item status reads '$(login_status)' after off"
pass "the login item is written, read and removed"

# --- An update check ----------------------------------------------------------
version=$("$TROVIX" --version | awk '{ print $2 }')
mkdir -p "$ARTIFACTS/feeds"
cat >"$ARTIFACTS/feeds/appcast.xml" <<XML
<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:s="http://www.andymatuschak.org/xml-namespaces/sparkle">
<channel><title>Trovix</title>
<item><title>Trovix 99.0</title><description>Menus open faster.</description>
<enclosure url="https://www.quirkworks.com/trovix-99.0.tar.gz" s:version="99.0" s:shortVersionString="99.0" length="1" type="application/gzip"/>
</item></channel></rss>
XML
start_app feed-server python3 "$TROVIX_SOURCE_DIR/tests/integration/feed_server.py" "$ARTIFACTS/feeds" "$ARTIFACTS/port"
wait_for 20 test -s "$ARTIFACTS/port" || fail "the feed server did not start"
defaults write SUFeedURL "http://127.0.0.1:$(cat "$ARTIFACTS/port")/appcast.xml"
start_app check "$TROVIX" check-for-updates
check_pid=$APP_PID
found="Trovix 99.0 is now available—you have $version. Would you like to download it now?"
# Read as a screen reader reads a label: by its name.
wait_for 30 element "$check_pid" "Software Update" "$found" states ||
    fail "the update check showed no window reading '$found' (see $ARTIFACTS/accessible.err)"
# Like all of Trovix's windows, an X11 window on Xwayland.
wait_for 10 xdotool search --onlyvisible --pid "$check_pid" ||
    fail "the update window is not on Xwayland: the check runs as a Wayland client"
screenshot update-window >/dev/null
pass "an update check against 127.0.0.1 shows the newer version in its window, on Xwayland"
# The window stays open until the end: on sway, one more tile beside the
# preferences.

# --- Trovix's windows ---------------------------------------------------------
# A help book of Trovix's own, found before the bundle's: two pages, the
# second one found by a word on it.
book=$XDG_DATA_HOME/Trovix/TrovixHelp
mkdir -p "$book"
cat >"$book/index.html" <<'HTML'
<html><head><title>Welcome Aboard</title>
<!--com.quirkworks.help.index[1]--></head>
<body><h1>Welcome Aboard</h1><p>Trovix shows menus at the pointer.</p></body></html>
HTML
cat >"$book/stripes.html" <<'HTML'
<html><head><title>Striped Menus</title>
<!--com.quirkworks.help.index[2]--></head>
<body><h1>Striped Menus</h1><p>A zebra has stripes.</p></body></html>
HTML

start_trovix
wait_for 30 dbus-send --session --print-reply --dest=com.quirkworks.Trovix \
    /com/quirkworks/Trovix org.freedesktop.DBus.Introspectable.Introspect ||
    fail "Trovix does not answer on the session bus"
windows=1 # the update window

# The window titled TITLE has the keyboard focus.
focused() {
    if [ "$TROVIX_COMPOSITOR" = sway ]; then
        swaymsg -t get_tree | jq -e --arg title "$1" \
            '[.. | objects | select(.name == $title and .focused)] | length > 0' >/dev/null
    else
        [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ]
    fi
}

# The log window, where the session may read the journal: a line Trovix
# writes is in it, readable over AT-SPI, as are its controls.
if "$(dirname "$TROVIX")/trovix-log" show --last 1m >/dev/null 2>"$ARTIFACTS/journal.err"; then
    word="wayland-$$-$RANDOM"
    dbus-send --session --type=method_call --dest=com.quirkworks.Trovix \
        /com/quirkworks/Trovix com.quirkworks.Trovix.Show "string:$word" ||
        fail "cannot ask Trovix to show '$word'"
    "$TROVIX" show log || fail "trovix show log failed"
    shows_word() { element "$TROVIX_PID" "Trovix Log" Log text | grep -qF "| trovix: unknown window requested: $word"; }
    wait_for 60 shows_word ||
        fail "the log window does not show the line Trovix wrote (see $ARTIFACTS/accessible.err)"
    element "$TROVIX_PID" "Trovix Log" "Debug Logging" states | grep -qx showing ||
        fail "the log window's debug-logging switch cannot be read over AT-SPI"
    screenshot log-window >/dev/null
    windows=$((windows + 1))
    pass "the log window shows Trovix's own journal entries, read over AT-SPI"
elif [ "${CI:-}" = true ]; then
    fail "the session cannot read the journal: $(cat "$ARTIFACTS/journal.err")"
else
    log "SKIP the log window: the session cannot read the journal: $(cat "$ARTIFACTS/journal.err")"
fi

# The help window on its first page; its find field, typed into on the
# compositor's keyboard, offers the other page with the word, which opens.
help() { element "$TROVIX_PID" "Trovix Help" "$@"; }
"$TROVIX" show help || fail "trovix show help failed"
wait_for 30 help "Welcome Aboard" states || fail "the help window did not open on its first page"
wait_for 10 focused "Trovix Help" || fail "the new help window did not get the keyboard focus"
windows=$((windows + 1))
help "Find..." "do" Press || fail "cannot press Find... in the help window"
field_focused() { help "Find in page" states | grep -qx focused; }
wait_for 10 field_focused || fail "the find field did not get the focus"
for key in 44 18 48 19 30; do # z e b r a
    press_keys "$key"
done
typed() { [ "$(help "Find in page" text)" = zebra ]; }
wait_for 10 typed ||
    fail "the find field reads '$(help "Find in page" text)', not what was typed"
screenshot help-search >/dev/null
press_keys 108 # Down: the first page offered
press_keys 28  # Return
wait_for 10 help "Striped Menus" states || fail "the help search did not find and open the page with the word"
screenshot help-found >/dev/null
pass "the help window opens on its first page, and its search finds and opens another"

# The preferences window beside them: on sway a quarter of the output wide.
"$TROVIX" show preferences || fail "trovix show preferences failed"
wait_for 30 element "$TROVIX_PID" Trovix Advanced states || fail "the preferences window did not open"
wait_for 10 focused Trovix || fail "the new preferences window did not get the keyboard focus"
windows=$((windows + 1))

# Asked for again while the preferences have the focus, the help window comes
# forward: it gets the focus, or on sway, whose default for a request to
# activate a window is to mark it urgent, the focus stays and it is urgent.
"$TROVIX" show help || fail "trovix show help failed the second time"
forward() {
    if focused "Trovix Help"; then
        echo "it has the focus"
    elif [ "$TROVIX_COMPOSITOR" = sway ]; then
        swaymsg -t get_tree | jq -e '[.. | objects | select(.name == "Trovix Help" and .urgent)] | length > 0' \
            >/dev/null && echo "sway marks it urgent, the focus stays"
    else
        return 1
    fi
}
wait_for 10 forward || fail "the help window asked for again did not come forward (the focus is on '$(
    xdotool getactivewindow getwindowname 2>/dev/null)')"
pass "asked for while another window has the focus, the help window comes forward: $(forward)"
screenshot brought-forward >/dev/null

# No section of the preferences scrolls sideways, however narrow the tile:
# a horizontal scroll bar is wider than high.
width=$(element "$TROVIX_PID" Trovix Trovix shown "tool bar" | cut -dx -f1)
log "the preferences window is ${width:-?} px wide beside $((windows - 1)) other windows"
showing() { element "$TROVIX_PID" Trovix "$1" states | grep -qx showing; }
sideways() {
    element "$TROVIX_PID" Trovix Trovix shown "scroll bar" |
        awk -F x '$1 > $2 { found = 1 } END { exit !found }'
}
# Each section with a check box of its own, shown once the section is.
for section in "Menu:Open this window at launch" "Advanced:Show keyboard shortcuts" \
    "Updates:Check Automatically"; do
    element "$TROVIX_PID" Trovix "${section%%:*}" "do" Toggle || fail "cannot choose the section ${section%%:*}"
    wait_for 10 showing "${section#*:}" ||
        fail "the section ${section%%:*} did not show"
    screenshot "preferences-${section%%:*}" >/dev/null
    ! sideways || fail "the ${section%%:*} section scrolls sideways ${width:-?} px wide"
done
pass "no section of the preferences scrolls sideways ${width:-?} px wide"

element "$check_pid" "Software Update" "Remind Me Later" "do" Press || fail "cannot press Remind Me Later"
wait_exit "$check_pid" 30 || fail "the update check still runs after Remind Me Later"
[ "$EXIT_STATUS" = 0 ] || fail "the update check ended with status $EXIT_STATUS"
pass "Remind Me Later closes the update window and ends the check"

stop_trovix
