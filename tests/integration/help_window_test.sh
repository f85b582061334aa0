#!/usr/bin/env bash
# `trovix show help` opens the help window on the help book; `trovix show help
# PAGE#ANCHOR` opens that page, and fails for a page the book does not have. A settings link changes the setting only once
# the user confirms it, and `trovix defaults read` sees the change at once;
# cancelled, nothing changes. Screenshots of the window are kept for review.
. "$(dirname "$0")/lib.sh"
require_desktop

# A help book of our own in the per-user override folder, found before the
# bundle's.
book="$XDG_DATA_HOME/Trovix/TrovixHelp"
mkdir -p "$book"
cat >"$book/index.html" <<'HTML'
<html><head><title>Welcome</title>
<!--com.quirkworks.help.index[1]-->
<!--com.quirkworks.help.quickaccess[Menus|Hot Keys]-->
</head><body>
<h1>Welcome</h1>
<p>Trovix shows the menu bar of the application you work in at the pointer.</p>
<a name="[Menus]Blacklist"></a><h2>Blacklist</h2><p>Menus left out of the pop-up.</p>
<a name="[Hot Keys]Recording"></a><h2>Recording</h2><p>Press the keys.</p>
</body></html>
HTML
cat >"$book/links.html" <<'HTML'
<html><head><title>Settings Links</title>
<!--com.quirkworks.help.index[2]-->
</head><body>
<table width="100%" cellpadding="0" cellspacing="0"><tr><td height="300" bgcolor="#ffff00">
<a href="x-quirkworks-help://default/Show%20Key%20Equivalents#no"><font size="7">
TURN KEY EQUIVALENTS OFF TURN KEY EQUIVALENTS OFF TURN KEY EQUIVALENTS OFF
TURN KEY EQUIVALENTS OFF TURN KEY EQUIVALENTS OFF TURN KEY EQUIVALENTS OFF</font></a>
</td></tr></table>
</body></html>
HTML

help_windows() {
    xdotool search --all --onlyvisible --pid "$TROVIX_PID" --name '^Trovix Help$' 2>/dev/null
}
one_help_window() { [ "$(help_windows | wc -l)" -ge 1 ]; }
alert_windows() {
    xdotool search --all --onlyvisible --pid "$TROVIX_PID" --name '^Trovix Help$' 2>/dev/null |
        while read -r id; do
            [ "$id" != "$HELP_WINDOW" ] && echo "$id"
        done
}
an_alert() { [ -n "$(alert_windows)" ]; }
no_alert() { [ -z "$(alert_windows)" ]; }
setting_is() { [ "$("$TROVIX" defaults read "Show Key Equivalents" 2>/dev/null)" = "$1" ]; }

# The help window's content origin on the screen as ORIGIN_X, ORIGIN_Y (from
# xwininfo: xdotool's geometry counts the title bar twice under openbox).
window_origin() {
    ORIGIN_X=$(xwininfo -id "$HELP_WINDOW" | awk '/Absolute upper-left X/ { print $4 }')
    ORIGIN_Y=$(xwininfo -id "$HELP_WINDOW" | awk '/Absolute upper-left Y/ { print $4 }')
}

# Clicks the second line of the link on links.html, below toolbar and header.
click_link() {
    xdotool windowactivate --sync "$HELP_WINDOW" 2>/dev/null
    window_origin
    xdotool mousemove $((ORIGIN_X + 400)) $((ORIGIN_Y + 130)) click 1
}

"$TROVIX" defaults write "Show Key Equivalents" -bool true || fail "cannot write a setting"
start_trovix
wait_for_tray_icon 60 Trovix
wait_for_window 60 '^(Trovix|Preferences)$'

"$TROVIX" show help >"$ARTIFACTS/show.out" 2>&1 || fail "trovix show help failed: $(cat "$ARTIFACTS/show.out")"
wait_for 30 one_help_window || fail "trovix show help did not open the help window"
HELP_WINDOW=$(help_windows | head -n 1)
pass "trovix show help opens the help window"
settled_screenshot help-window

# A look at the Contents menu and at the find field's suggestions: "turn"
# is not on this page, so the page that has it is offered.
xdotool windowactivate --sync "$HELP_WINDOW" 2>/dev/null
window_origin
eval "$(xdotool getwindowgeometry --shell "$HELP_WINDOW")"
xdotool mousemove $((ORIGIN_X + WIDTH - 70)) $((ORIGIN_Y + 19))
# A press held a moment, as a person clicks: the pull-down opens on the press.
xdotool mousedown 1
sleep 0.2
xdotool mouseup 1
settled_screenshot contents-menu
xdotool key Escape
xdotool windowactivate --sync "$HELP_WINDOW" 2>/dev/null
xdotool key ctrl+f
xdotool type --delay 50 turn
settled_screenshot search-suggestions
xdotool key Escape Escape

"$TROVIX" show help 'links#top' >"$ARTIFACTS/show-page.out" 2>&1 ||
    fail "trovix show help links failed: $(cat "$ARTIFACTS/show-page.out")"
wait_stable 10 help_windows || fail "the help window did not settle"
settled_screenshot help-links-page

# Cancelled: nothing changes.
click_link
wait_for 20 an_alert || fail "clicking the settings link showed no confirmation"
settled_screenshot confirmation
xdotool key Escape
wait_for 10 no_alert || fail "Escape did not close the confirmation"
setting_is 1 || fail "a cancelled settings link changed the setting"
pass "a cancelled settings link changes nothing"

# Confirmed: the setting changes, and another process reads the new value.
click_link
wait_for 20 an_alert || fail "clicking the settings link again showed no confirmation"
xdotool key Return
wait_for 20 eval 'setting_is 0' || fail "the confirmed settings link did not change the setting"
pass "a confirmed settings link changes the setting (trovix defaults read: 0)"
wait_for 20 an_alert || fail "no alert after the change"
settled_screenshot updated
xdotool key Return
wait_for 10 no_alert || fail "the alert after the change did not close"

# A page the help book does not have: the running Trovix says so, and the
# command fails with the reason.
if "$TROVIX" show help 'no-such-page' >"$ARTIFACTS/no-page.out" 2>&1; then
    fail "trovix show help with an unknown page succeeded"
fi
grep -q 'no help page "no-such-page"' "$ARTIFACTS/no-page.out" ||
    fail "trovix show help with an unknown page said: $(cat "$ARTIFACTS/no-page.out")"
pass "trovix show help with an unknown page exits 1 (no help page)"
expect_trovix_running
stop_trovix
pass "Trovix ends cleanly after the help window"
