#!/usr/bin/env bash
# The menu presenter on a real desktop: `trovix demo-menu` pops a sample menu
# up at the pointer at the standard font size, at 14 and at 30 points, and in
# the dark appearance; the screenshots show how each looks. Holding Alt swaps
# in the alternates while the menu is open, a lazily filled submenu opens with
# its items, and the item chosen with the keyboard is the one answered.
. "$(dirname "$0")/lib.sh"
require_desktop

# Pops the demo menu up at the pointer with the demo-menu options ARG...; the
# pointer then moves away so that no item is highlighted.
open_menu() {
    local name=$1
    shift
    xdotool mousemove 40 40
    start_app "$name" "$TROVIX" demo-menu "$@"
    wait_for_window_of 15 "$APP_PID"
    xdotool mousemove 1200 760
}

# Waits for the demo to end and checks that it answered "chosen: TITLE".
expect_chosen() {
    local name=$1 title=$2
    wait_exit "$APP_PID" 10 || fail "$name: the menu did not close"
    [ "$EXIT_STATUS" = 0 ] || fail "$name: demo-menu exited with $EXIT_STATUS"
    grep -qxF "chosen: $title" "$ARTIFACTS/$name.out" ||
        fail "$name: expected 'chosen: $title', got '$(cat "$ARTIFACTS/$name.out")'"
    pass "$name: chosen '$title'"
}

# Standard font: look, then close with Escape.
open_menu font-0
settled_screenshot menu-font-0
xdotool key Escape
expect_chosen font-0 "(none)"

# 14 points: holding Alt shows "Close All" in place of "Close"; choosing it
# with the keyboard while Alt is held answers the alternate.
open_menu font-14 --font-size 14
settled_screenshot menu-font-14
xdotool keydown alt
settled_screenshot menu-font-14-alt
# Demo, Trovix, New Window, Save As…, Close All
xdotool key Down Down Down Down Down
xdotool key Return
xdotool keyup alt
expect_chosen font-14 "Close All"

# 30 points: the lazily filled submenu opens (Up selects its opener, the last
# item; Right opens it on its first item) and its second item is chosen.
open_menu font-30 --font-size 30
settled_screenshot menu-font-30
xdotool key Up Right
settled_screenshot menu-font-30-submenu
xdotool key Down Return
expect_chosen font-30 "notes.md"

# The dark appearance, whatever the desktop's colours.
open_menu dark --font-size 14 --appearance dark
settled_screenshot menu-dark
xdotool key Escape
expect_chosen dark "(none)"

pass "screenshots in $ARTIFACTS"
