#!/usr/bin/env bash
# Started in what its environment calls a Wayland session (with an X display,
# as XWayland gives), Trovix runs on X11 and says once what works there: a
# window that does not block the program, shown at the first start and not at
# the next. Without an X display it does not start and says why.
. "$(dirname "$0")/lib.sh"
require_desktop

notice_title='^Trovix in a Wayland Session$'
windows_named() { xdotool search --all --onlyvisible --pid "$TROVIX_PID" --name "$1" 2>/dev/null; }
about_open() { [ -n "$(windows_named '^About Trovix$')" ]; }

"$TROVIX" defaults write "Stealth Mode" -bool YES >/dev/null || fail "cannot write the settings"
export WAYLAND_DISPLAY=wayland-trovix-test XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM

start_trovix
wait_for_tray_icon 60 Trovix
wait_for 20 windows_named "$notice_title" || fail "no window tells what works in a Wayland session"
# The program goes on while the notice is open.
"$TROVIX" show about >/dev/null 2>&1 || fail "trovix show about failed with the notice open"
wait_for 20 about_open || fail "the about panel did not open while the notice was open"
screenshot first-start >/dev/null
[ "$("$TROVIX" defaults read QXWaylandNoticeShown)" = 1 ] ||
    fail "the notice is not remembered as shown"
stop_trovix
pass "the first start shows the notice, and Trovix works on behind it"

# The second start answers requests only after it would have shown the notice.
start_trovix
wait_for_tray_icon 60 Trovix
"$TROVIX" show about >/dev/null 2>&1 || fail "trovix show about failed at the second start"
wait_for 20 about_open || fail "the about panel did not open at the second start"
[ -z "$(windows_named "$notice_title")" ] || fail "the notice was shown again at the second start"
stop_trovix
pass "the second start shows no notice"

env -u DISPLAY "$TROVIX" >"$ARTIFACTS/no-display.out" 2>&1
status=$?
[ $status -eq 1 ] || fail "without an X display Trovix ended with status $status, not 1"
pass "without an X display Trovix does not start (status 1)"
