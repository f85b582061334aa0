#!/usr/bin/env bash
# The triggers from any application: the two hot keys stored with `trovix
# defaults write` pop up the frontmost application's menu and the menu of all
# applications, whose items run from the keyboard; a right click with the
# chosen modifier pops up the menu instead of reaching the application, other
# right clicks reach it; a new modifier takes effect at once; lock keys do not
# matter; a stopped application still gets a menu and leaves pointer and
# keyboard working; a hot key another program holds at start-up stays stored,
# is shown as in use, and works once that program ended and the keyboard
# layout was set again.
. "$(dirname "$0")/lib.sh"
require_desktop

fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json

defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }

# Control-Option-M (virtual key 46) and Control-Option-A (virtual key 0);
# Control is 0x40000 and Option 0x80000 in the stored modifier flags.
control_option=$((0x40000 | 0x80000))
store_hot_key() {
    local key=$1 code=$2 text=$3
    defaults write "$key" -dict "Identifier" -string "$key" "Key Code" -int "$code" \
        "Modifier Flags" -int "$control_option" "Visual Representation" -string "$text"
}

context_lines() { grep -c '^context-menu ' "$ARTIFACTS/fixture-qt.out"; }
activated() { grep -qx "activated $1" "$ARTIFACTS/fixture-qt.out"; }

# The pop-up is open while Trovix shows more windows than its tray icon; both
# checks fail the test when Trovix is gone.
popup_open() {
    expect_trovix_running
    [ "$(visible_windows)" -gt 1 ]
}
popup_closed() { closed; }
expect_popup() {
    wait_for 10 popup_open || fail "no pop-up menu after $1"
}
# Escape closes one level of open submenus at a time.
escape_once() {
    xdotool key Escape
    wait_for 1 popup_closed
}
close_popup() {
    wait_for 10 escape_once || fail "the pop-up did not close on Escape"
}
# Fails unless the fixture prints exactly one more context-menu line than
# COUNT: the right click WHAT reached it, and no earlier one did.
expect_context_menu() {
    wait_for 10 eval "[ \$(context_lines) -gt $1 ]" || fail "$2 did not reach the fixture"
    xdotool key Escape
    [ "$(context_lines)" -eq $(($1 + 1)) ] ||
        fail "the fixture saw $(($(context_lines) - $1)) right clicks, not only $2"
}
# Whether the lock NAME ("Caps", "Num") is on.
lock_on() { xset q | grep -q "$1 Lock: *on"; }

start_app fixture-qt env -u AT_SPI_BUS_ADDRESS "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
wait_for_bus "$qt_pid"
wait_for_window_of 30 "$qt_pid"
fixture_window=$WINDOW
# Brings the fixture forward with the pointer over it. Hot keys within 0.1 s
# after a pop-up menu closed are swallowed by design, so that time passes first.
front() {
    sleep 0.2
    xdotool windowactivate --sync "$fixture_window" >/dev/null 2>&1
    wait_for 10 eval "[ \"\$(xdotool getactivewindow getwindowpid 2>/dev/null)\" = $qt_pid ]" ||
        fail "the fixture did not come to the front"
    xdotool mousemove --window "$fixture_window" 150 120
}

store_hot_key "Menu Trigger" 46 "⌃⌥M"
store_hot_key "Menu Trigger: All Applications" 0 "⌃⌥A"
defaults write "Stealth Mode" -bool YES
start_trovix
wait_for_tray_icon 60 Trovix
front

# --- Hot keys ------------------------------------------------------------------
xdotool key ctrl+alt+m
expect_popup "the frontmost-application hot key"
screenshot hotkey-frontmost >/dev/null
xdotool key Down Down Right Return
wait_for 10 activated "File > New" || fail "Return on File > New did not run it in the fixture"
wait_for 10 popup_closed || fail "the pop-up stayed open after Return"
pass "the first hot key pops up the fixture's menu; arrows and Return run File > New"

front
xdotool key ctrl+alt+a
expect_popup "the all-applications hot key"
screenshot hotkey-all >/dev/null
xdotool key Down Right Down Down Right
settled_screenshot hotkey-all-submenu
close_popup
pass "the second hot key pops up the all-applications menu (screenshots hotkey-*.png)"

for lock in Caps_Lock Num_Lock; do
    front
    xdotool key "$lock"
    wait_for 5 lock_on "${lock%_Lock}" || fail "$lock did not turn on"
    xdotool key ctrl+alt+m
    expect_popup "the hot key with $lock on"
    close_popup
    xdotool key "$lock"
    wait_for 5 eval "! lock_on ${lock%_Lock}" || fail "$lock did not turn off"
done
pass "the hot key works with Caps Lock and with Num Lock on"

# --- Right clicks ----------------------------------------------------------------
front
before=$(context_lines)
xdotool keydown super click 3 keyup super
expect_popup "Super+right-click"
screenshot right-click-super >/dev/null
close_popup
front
xdotool keydown super keydown shift click 3 keyup shift keyup super
expect_popup "Super+Shift+right-click"
close_popup
# The fixture sees the plain right click that follows, and only that one.
front
xdotool click 3
expect_context_menu "$before" "a plain right click"
popup_closed || fail "a plain right click popped up Trovix's menu"
pass "Super+right-click pops up the menu and never reaches the fixture"
before=$(context_lines)
front
xdotool keydown alt click 3 keyup alt
expect_context_menu "$before" "an Alt+right click"
popup_closed || fail "an Alt+right click popped up Trovix's menu"
pass "plain and Alt right clicks reach the fixture"

defaults write "Enable Right Click Trigger: Modifier" -int 2
# A try that came before Trovix grabbed again opened the fixture's context
# menu, which Escape closes again.
control_click_pops_up() {
    front
    xdotool keydown ctrl click 3 keyup ctrl
    wait_for 2 popup_open && return 0
    xdotool key Escape
    return 1
}
wait_for 15 control_click_pops_up || fail "Control+right-click did not pop up after the change"
close_popup
before=$(context_lines)
front
xdotool keydown super click 3 keyup super
expect_context_menu "$before" "a Super+right-click with Control chosen"
popup_closed || fail "Super+right-click still pops up with Control chosen"
pass "with the modifier set to Control, Control+right-click pops up and Super+right-click passes"

# --- A stopped application --------------------------------------------------------
# The same hot key with the fixture answering gives the figure to compare with.
front
started=$(_lib_now_ms)
xdotool key ctrl+alt+m
expect_popup "the hot key before the fixture is stopped"
baseline=$(($(_lib_now_ms) - started))
close_popup
front
kill -STOP "$qt_pid"
started=$(_lib_now_ms)
xdotool key ctrl+alt+m
if ! wait_for 30 popup_open; then
    kill -CONT "$qt_pid"
    fail "no pop-up with the fixture stopped"
fi
elapsed=$(($(_lib_now_ms) - started))
screenshot hotkey-stopped >/dev/null
xdotool key Escape Escape
kill -CONT "$qt_pid"
wait_for 10 popup_closed || fail "the pop-up did not close on Escape"
expect_within_timeout "the hot key's pop-up" "$elapsed" "$baseline"
before=$(context_lines)
front
xdotool click 3
expect_context_menu "$before" "a right click after the stopped application's menu"
front
xdotool key ctrl+alt+m
expect_popup "the hot key after the stopped application's menu"
close_popup
pass "with the fixture stopped a menu appears ($elapsed ms); pointer and keyboard work afterwards"

# --- A hot key held by another program ------------------------------------------
stop_trovix
cat >"$ARTIFACTS/grab-key.py" <<'PYTHON'
# Holds Control-Alt-G on the root window, as another program's hot key would,
# until it is stopped.
import ctypes, time
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XStringToKeysym.restype = ctypes.c_ulong
x.XStringToKeysym.argtypes = [ctypes.c_char_p]
x.XKeysymToKeycode.restype = ctypes.c_ubyte
x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong,
                       ctypes.c_int, ctypes.c_int, ctypes.c_int]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
display = x.XOpenDisplay(None)
keycode = x.XKeysymToKeycode(display, x.XStringToKeysym(b"g"))
x.XGrabKey(display, keycode, 0x4 | 0x8, x.XDefaultRootWindow(display), 1, 1, 1)
x.XSync(display, 0)
print("grabbed", flush=True)
time.sleep(3600)
PYTHON
start_app grab-key python3 "$ARTIFACTS/grab-key.py"
grabber_pid=$APP_PID
wait_for 10 grep -q grabbed "$ARTIFACTS/grab-key.out" || fail "the key grabber did not start"

store_hot_key "Menu Trigger" 5 "⌃⌥G"
"$TROVIX" defaults delete "Menu Trigger: All Applications" >/dev/null
defaults write "Enable Right Click Trigger" -bool NO
# Through a terminal, so that the log lines show on Trovix's stderr.
start_trovix_in_terminal
tty_log=$ARTIFACTS/trovix-tty.log
wait_for 30 grep -q 'the hot key <⌃⌥G> for "Menu Trigger" is in use by another program; it stays stored' \
    "$tty_log" || fail "no log line about the refused hot key"
"$TROVIX" defaults read "Menu Trigger" >"$ARTIFACTS/refused-hot-key.txt" ||
    fail "the refused hot key was removed from the settings"
grep -q '⌃⌥G' "$ARTIFACTS/refused-hot-key.txt" || fail "the stored hot key changed"
wait_for 30 eval "xdotool search --onlyvisible --pid '$TTY_TROVIX_PID' --name '^Trovix$'" ||
    fail "the preferences window did not open without any trigger"
# The recorder tells a screen reader why, and the row says it beside the field.
preferences() { "$(dirname "$0")/accessible.py" "$TTY_TROVIX_PID" Trovix "$@"; }
recorder="Hot key for the active application"
wait_for 10 eval '[ "$(preferences "$recorder" description)" = "In use by another program" ]' ||
    fail "the recorder does not say the hot key is in use: '$(preferences "$recorder" description)'"
# The states are read whole before grep looks: with pipefail, a grep -q that
# stops at the first match fails the pipeline through the reader's broken pipe.
mark_shows() {
    preferences "In use by another program" states >"$ARTIFACTS/in-use-mark.txt" &&
        grep -qx showing "$ARTIFACTS/in-use-mark.txt"
}
wait_for 10 mark_shows ||
    fail "the preferences window shows no mark beside the refused hot key"
settled_screenshot hotkey-in-use-preferences
pass "a hot key held by another program stays stored, is logged, and is marked in the preferences"

# The other program ends; the user sets the keyboard layout again (a new
# mapping), and Trovix tries the hot key once more.
terminate "$grabber_pid" 10
layout=$(setxkbmap -query | awk '/^layout:/ { print $2 }')
setxkbmap -layout "${layout:-us}"
wait_for 15 grep -q 'the hot key <⌃⌥G> for "Menu Trigger" works now' "$tty_log" ||
    fail "the hot key was not registered after the other program ended and the layout was set"
[ "$(grep -c 'is in use by another program' "$tty_log")" -eq 1 ] ||
    fail "the refusal was logged more than once"
# A field's description falls back on its tool tip, the hot key's text.
wait_for 10 eval '[[ "$(preferences "$recorder" description)" != *"In use by another program"* ]]' ||
    fail "the recorder still says the hot key is in use"
tty_windows() { xdotool search --onlyvisible --pid "$TTY_TROVIX_PID" 2>/dev/null | wc -l; }
front
before=$(tty_windows)
xdotool key ctrl+alt+g
wait_for 10 eval '[ "$(tty_windows)" -gt "$before" ]' ||
    fail "the hot key did not pop up a menu once the other program had ended"
screenshot hotkey-after-release >/dev/null
xdotool key Escape
wait_for 10 eval '[ "$(tty_windows)" -le "$before" ]' || fail "the pop-up did not close on Escape"
"$TROVIX" defaults read "Menu Trigger" >/dev/null || fail "the hot key is no longer stored"

# script(1) ends with Trovix's status; Trovix's stderr went to the typescript.
kill -TERM "$TTY_TROVIX_PID" || fail "Trovix in the terminal had ended"
wait_exit "$TTY_PID" 30 || fail "Trovix in the terminal still runs 30 s after SIGTERM"
[ "$EXIT_STATUS" = 0 ] || fail "Trovix in the terminal ended with status $EXIT_STATUS"
report=$(sanitizer_report "$tty_log") && fail "Trovix in the terminal reported: $report"
pass "once the other program ended and the layout was set again, the hot key pops up the menu"
