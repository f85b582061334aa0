#!/usr/bin/env bash
# Trovix with its own window in front and with nothing else to show it: the
# hot key pops up Trovix's own menu over its preferences window; in dock mode a
# second start brings the closed preferences window back; on a session without
# the accessibility bus the first hot key explains what is missing.
. "$(dirname "$0")/lib.sh"
require_desktop

defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }

# Control-Option-M (virtual key 46); Control is 0x40000, Option 0x80000.
defaults write "Menu Trigger" -dict "Identifier" -string "Menu Trigger" "Key Code" -int 46 \
    "Modifier Flags" -int $((0x40000 | 0x80000)) "Visual Representation" -string "⌃⌥M"

trovix_windows() { xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null | wc -l; }
# A window of Trovix whose title matches PATTERN, other than its tray icon
# (which carries the program's name too). xdotool matches any of a window's
# names (the about panel's class name is "Trovix" too): the title decides.
named_window() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$TROVIX_PID" --name "$1" 2>/dev/null); do
        [ -n "$TRAY_ICON" ] && [ "$window" = "$((TRAY_ICON))" ] && continue
        grep -qE -- "$1" <<<"$(xdotool getwindowname "$window" 2>/dev/null)" || continue
        echo "$window"
        return 0
    done
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(($1))" ]; }

# --- The hot key over the preferences window -------------------------------------
start_trovix
wait_for_tray_icon 60 Trovix
wait_for 30 eval '[ -n "$(named_window "^Trovix$")" ]' ||
    fail "the preferences window did not open at the first launch"
window=$(named_window '^Trovix$')
xdotool windowactivate --sync "$window" >/dev/null 2>&1
wait_for 10 is_active "$window" || fail "the preferences window did not become active"
before=$(trovix_windows)
xdotool key ctrl+alt+m
wait_for 10 eval "[ \$(trovix_windows) -gt $before ]" ||
    fail "the hot key showed nothing over the preferences window"
screenshot own-menu >/dev/null
# Its first item is "About Trovix": choosing it opens the about box, which
# also shows that the menu stayed open as the hot key's grab ended.
xdotool key Down Return
wait_for 10 eval '[ -n "$(named_window "^About Trovix$")" ]' ||
    fail "the pop-up was not Trovix's own menu"
xdotool key Escape
pass "the hot key pops up Trovix's own menu over its preferences window (own-menu.png)"
stop_trovix

# --- Dock mode: reopen after the window was closed ----------------------------------
defaults write "Application Mode" -int 0
TRAY_ICON=""
start_trovix
wait_for 30 eval '[ -n "$(named_window "^Preferences$")" ]' || fail "dock mode: no preferences window"
window=$(named_window '^Preferences$')
xdotool windowactivate --sync "$window" >/dev/null 2>&1
xdotool key Escape
wait_for 10 eval '[ -z "$(named_window "^Preferences$")" ]' || fail "the preferences window did not close"
"$TROVIX" >"$ARTIFACTS/second.out" 2>&1 || fail "a second start failed"
wait_for 10 eval '[ -n "$(named_window "^Preferences$")" ]' ||
    fail "dock mode: a second start did not bring the preferences window back"
screenshot dock-reopen >/dev/null
pass "dock mode: a second start shows the closed preferences window again"
stop_trovix
defaults delete "Application Mode"

# --- A session bus without accessibility -------------------------------------------
cat >"$ARTIFACTS/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$ARTIFACTS/bus-socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
start_app bus dbus-daemon --nofork --print-address --config-file="$ARTIFACTS/bus.conf"
wait_for 10 test -s "$ARTIFACTS/bus.out" || fail "the bus without accessibility did not start"
bus=$(head -n 1 "$ARTIFACTS/bus.out")
defaults write "Stealth Mode" -bool YES
# Through a terminal, so that the log lines show on Trovix's output.
start_trovix_in_terminal DBUS_SESSION_BUS_ADDRESS="$bus"
TROVIX_PID=$TTY_TROVIX_PID
wait_for_tray_icon 60 Trovix
xdotool key ctrl+alt+m
wait_for 10 eval '[ -n "$(named_window "^Trovix$")" ]' || fail "no alert on the first hot key without accessibility"
screenshot no-accessibility-alert >/dev/null
wait_for 10 grep -q "cannot read menus without accessibility: The AT-SPI accessibility bus is missing. Install the at-spi2-core package" \
    "$ARTIFACTS/trovix-tty.log" || fail "no log line naming the missing accessibility bus"
alert=$(named_window '^Trovix$')
xdotool windowactivate --sync "$alert" >/dev/null 2>&1
xdotool key Return
wait_for 10 eval '[ -z "$(named_window "^Trovix$")" ]' || fail "the alert did not close"
# Later presses only beep: no second alert. A request sent after the key has
# been delivered is answered only after the key was handled.
xdotool key ctrl+alt+m
DBUS_SESSION_BUS_ADDRESS="$bus" "$TROVIX" show about >"$ARTIFACTS/show-about.out" 2>&1 ||
    fail "trovix show about failed on the bus without accessibility"
wait_for 20 eval '[ -n "$(named_window "^About Trovix$")" ]' || fail "the about panel did not open"
[ -z "$(named_window '^Trovix$')" ] || fail "a second hot key showed the alert again"
[ "$(grep -c 'cannot read menus without accessibility' "$ARTIFACTS/trovix-tty.log")" = 1 ] ||
    fail "the missing accessibility bus was logged more than once"
pass "without the accessibility bus the first hot key explains what is missing, once"
# Its log is the terminal's; the terminal ends with Trovix's status.
kill -TERM "$TROVIX_PID"
wait_exit "$TTY_PID" 30 || fail "Trovix did not end"
[ "$EXIT_STATUS" = 0 ] || fail "Trovix on the bus without accessibility ended with status $EXIT_STATUS"
! report=$(sanitizer_report "$ARTIFACTS/trovix-tty.log") || fail "Trovix reported: $report"
