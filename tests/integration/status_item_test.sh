#!/usr/bin/env bash
# The tray icon and its menu, the three application modes, a second start and
# "Quit", on a real desktop with a real tray.
. "$(dirname "$0")/lib.sh"
require_desktop

defaults() { "$TROVIX" defaults "$@"; }

skips_taskbar() {
    xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR
}

# The program's preferences window (its title is "Trovix" or "Preferences"),
# not the tray icon, which carries the program's name too.
preferences_window() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$TROVIX_PID" --name '^(Trovix|Preferences)$'); do
        [ -n "$TRAY_ICON" ] && [ "$window" = "$((TRAY_ICON))" ] && continue
        echo "$window"
        return 0
    done
    return 1
}

# Opens the tray icon's menu with a click of BUTTON (1 left, 3 right).
open_tray_menu() {
    local button=$1
    eval "$(xdotool getwindowgeometry --shell "$TRAY_ICON")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool mousedown "$button"
    sleep 0.2
    xdotool mouseup "$button"
    # The menu is a popup window of Trovix's own.
    wait_for 10 sh -c "xwininfo -root -tree | grep -q '\"Trovix\": (\"trovix\" \"Trovix\").*[0-9]x[0-9]' &&
        [ \$(xdotool search --onlyvisible --pid $TROVIX_PID | wc -l) -ge 2 ]" ||
        fail "the tray menu did not open"
}

# Fails unless Trovix, in MODE, shows no tray icon. The status item is made
# before the preferences window opens, so one would be asking for its place by
# now; an about panel opened on request shows that start-up has long ended
# and gives the tray host the time to embed it.
no_tray_icon() {
    "$TROVIX" show about >/dev/null 2>&1 || fail "$1: trovix show about failed"
    wait_for 20 eval 'xdotool search --onlyvisible --pid "$TROVIX_PID" --name "^About Trovix\$"' ||
        fail "$1: the about panel did not open"
    [ -z "$(tray_icons | grep Trovix)" ] || fail "$1 shows a tray icon"
}

# Menu bar mode (the default): a tray icon, and windows without taskbar entries.
start_trovix
wait_for_tray_icon 60 Trovix
pass "tray icon embedded"
wait_for 30 preferences_window || fail "the preferences window did not open at the first launch"
window=$(preferences_window)
skips_taskbar "$window" || fail "menu bar mode: the preferences window has a taskbar entry"
pass "menu bar mode: preferences window without a taskbar entry"

open_tray_menu 1
screenshot tray-menu >/dev/null
# Holding Alt turns "Preferences..." into "Log" where the journal can be read
# (choosing it opens the log window) and into "Enable Debug Logging" elsewhere
# (choosing it flips the debug switch).
log_or_debug_switch() {
    xdotool search --onlyvisible --name '^Trovix Log$' >/dev/null 2>&1 ||
        "$TROVIX" defaults read QXDebugLog 2>/dev/null | grep -qx 1
}
xdotool keydown alt
settled_screenshot tray-menu-alt
xdotool key Down Down Down Down Return
xdotool keyup alt
wait_for 10 log_or_debug_switch || fail "choosing the Alt alternate neither opened the log nor enabled debug logging"
pass "Alt shows the alternate and choosing it opens the log or toggles debug logging"
log_window=$(xdotool search --onlyvisible --name '^Trovix Log$' 2>/dev/null | head -n 1)
if [ -n "$log_window" ]; then
    xdotool windowactivate --sync "$log_window" key ctrl+w
    wait_for 10 eval 'expect_trovix_running; ! xdotool search --onlyvisible --name "^Trovix Log\$"' ||
        fail "Ctrl+W did not close the log window"
fi

# A second start hands over to the first and exits 0; the first brings its
# preferences window forward.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key Escape
wait_for 10 eval 'expect_trovix_running; ! preferences_window' || fail "the preferences window did not close"
"$TROVIX" >"$ARTIFACTS/second.out" 2>&1
status=$?
[ "$status" = 0 ] || fail "a second start exited with $status"
wait_for 10 preferences_window ||
    fail "the second start did not bring the preferences window forward"
pass "a second start exits 0 and reopens the preferences window"

# "Quit" from the tray menu (opened with a right click this time) ends the
# program with status 0.
open_tray_menu 3
xdotool key Up Return
expect_trovix_exit "$TROVIX_PID" 30
pass "Quit ends the program with status 0"

# Dock mode: no tray icon; the window has a taskbar entry.
defaults write "Application Mode" -int 0 || fail "cannot store the mode"
TRAY_ICON=""
start_trovix
wait_for 30 preferences_window || fail "dock mode: no preferences window"
window=$(preferences_window)
skips_taskbar "$window" && fail "dock mode: the window has no taskbar entry"
no_tray_icon "dock mode"
screenshot dock-mode >/dev/null
pass "dock mode: taskbar entry, no tray icon"
stop_trovix

# Faceless mode: neither.
defaults write "Application Mode" -int 2 || fail "cannot store the mode"
start_trovix
wait_for 30 preferences_window || fail "faceless mode: no preferences window"
window=$(preferences_window)
skips_taskbar "$window" || fail "faceless mode: the window has a taskbar entry"
no_tray_icon "faceless mode"
pass "faceless mode: no taskbar entry, no tray icon"
stop_trovix
