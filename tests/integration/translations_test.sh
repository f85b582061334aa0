#!/usr/bin/env bash
# Trovix in German (LANGUAGE=de): the preferences window, the about panel and a
# pop-up whose empty submenu says "Leer" come out in German; Qt's own texts
# too. Screenshots of the window and of the pop-up are kept for review.
. "$(dirname "$0")/lib.sh"
require_desktop

export LANGUAGE=de
# xdotool matches window titles in the locale's encoding: one that holds "Ü"
# and exists on every system (LANGUAGE still decides Trovix's language).
export LC_ALL=C.UTF-8

fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json

defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }

# --- The preferences window -----------------------------------------------------
# Dock mode titles the window with the translated "Preferences".
defaults write "Application Mode" -int 0
start_trovix
wait_for_window 60 '^Einstellungen$'
preferences=$WINDOW
wait_stable 30 eval "xdotool getwindowgeometry $preferences" ||
    fail "the preferences window did not settle"
settled_screenshot preferences-de
pass "the preferences window is titled \"Einstellungen\" (preferences-de.png)"

# --- A pop-up with an empty submenu ----------------------------------------------
start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
wait_for_bus "$qt_pid"
wait_for_window_of 30 "$qt_pid"
xdotool windowactivate --sync "$WINDOW" >/dev/null 2>&1
wait_for 10 eval "[ \"\$(xdotool getactivewindow getwindowpid 2>/dev/null)\" = $qt_pid ]" ||
    fail "the fixture did not come to the front"

# File > Nothing Here holds nothing: its submenu shows the one disabled item.
"$TROVIX" popup --print --depth 2 >"$ARTIFACTS/popup.txt" 2>"$ARTIFACTS/popup-print.err" ||
    fail "popup --print failed: $(cat "$ARTIFACTS/popup-print.err")"
grep -A1 -E '^    Nothing Here' "$ARTIFACTS/popup.txt" | grep -Eq '^      Leer  \[disabled' ||
    fail "the empty submenu does not say \"Leer\" (see $ARTIFACTS/popup.txt)"
grep -A1 -E '^  Fenster  ' "$ARTIFACTS/popup.txt" | grep -Eq '^    Minimieren' ||
    fail "the window menu is not German (see $ARTIFACTS/popup.txt)"

before=$(visible_windows)
open_popup
# Fixture, File; into File (its first item), up to its last item, Nothing Here;
# open it.
xdotool key Down Down Right Up Right
settled_screenshot popup-empty-de
xdotool key Escape Escape Escape
wait_for 10 eval "expect_trovix_running; [ \$(visible_windows) -le $before ]" ||
    fail "the pop-up did not close on Escape"
pass "the empty submenu says \"Leer\" (popup.txt, popup-empty-de.png)"

# --- The about panel --------------------------------------------------------------
"$TROVIX" show about || fail "trovix show about failed"
wait_for_window 30 '^Über Trovix$'
settled_screenshot about-de
pass "the about panel is titled \"Über Trovix\" (about-de.png)"
stop_trovix
