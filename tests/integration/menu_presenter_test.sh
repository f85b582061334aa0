#!/usr/bin/env bash
# The menu presenter on a real desktop: `trovix demo-menu` pops a sample menu
# up at the pointer at the standard font size, at 14 and at 30 points, and in
# the dark appearance. An ordinary item is taller at each larger font; the
# dark menu is drawn dark with light text. Holding Alt swaps in the
# alternates while the menu is open, a lazily filled submenu opens with its
# items, and the item chosen with the keyboard is the one answered.
. "$(dirname "$0")/lib.sh"
require_desktop

# Pops the demo menu up at the pointer with the demo-menu options ARG...; the
# pointer then moves away so that no item is highlighted. WINDOW is the
# menu's window.
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

# Takes the settled screenshot NAME and sets GEOMETRY to the menu window's
# place in it (WIDTHxHEIGHT+X+Y).
menu_screenshot() {
    settled_screenshot "$1"
    GEOMETRY=$(xwininfo -id "$WINDOW" | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { if (w && h) printf "%dx%d+%d+%d\n", w, h, x, y }')
    [ -n "$GEOMETRY" ] || fail "$1: the menu's window is gone"
    log "$1: the menu's window is $GEOMETRY"
}

# Highlights "New Window", the third item, and sets ITEM to its height: the
# height of the part of the menu's window that changed since the screenshot
# NAME, taken with no item highlighted, as NAME-item.png shows.
measure_item() {
    xdotool key Down Down Down
    settled_screenshot "$1-item"
    ITEM=$(convert "$ARTIFACTS/$1.png" "$ARTIFACTS/$1-item.png" -crop "$GEOMETRY" +repage \
        -compose difference -composite -trim -format %h info:) || fail "$1: cannot compare the screenshots"
    [ "$ITEM" -gt 1 ] || fail "$1: Down highlighted no item"
    log "$1: an item is $ITEM pixels high"
}

# Crops the screenshot NAME to GEOMETRY as NAME-menu.png; BACKGROUND is the
# luminance (0-255) of its most common colour, the menu's background, and
# LIGHT the number of its pixels lighter than 70 %.
menu_colours() {
    local file=$ARTIFACTS/$1-menu.png colour
    convert "$ARTIFACTS/$1.png" -crop "$GEOMETRY" +repage "$file" || fail "cannot crop $1.png"
    colour=$(convert "$file" -format %c histogram:info:- | sort -rn | head -n 1 |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p')
    [ -n "$colour" ] || fail "no colours in $file"
    BACKGROUND=$(((2126 * 16#${colour:0:2} + 7152 * 16#${colour:2:2} + 722 * 16#${colour:4:2}) / 10000))
    LIGHT=$(convert "$file" -colorspace Gray -threshold 70% -format '%[fx:round(mean * w * h)]' info:) ||
        fail "cannot count the light pixels of $file"
}

# Standard font: look, then close with Escape.
open_menu font-0
menu_screenshot menu-font-0
measure_item menu-font-0
item_0=$ITEM
xdotool key Escape
expect_chosen font-0 "(none)"

# 14 points: holding Alt shows "Close All" in place of "Close"; choosing it
# with the keyboard while Alt is held answers the alternate.
open_menu font-14 --font-size 14
menu_screenshot menu-font-14
measure_item menu-font-14
item_14=$ITEM
xdotool keydown alt
settled_screenshot menu-font-14-alt
# From New Window: Save As…, Close All
xdotool key Down Down
xdotool key Return
xdotool keyup alt
expect_chosen font-14 "Close All"

# 30 points: the lazily filled submenu opens (from New Window, three times Up
# wraps round to its opener, the last item; Right opens it on its first item)
# and its second item is chosen.
open_menu font-30 --font-size 30
menu_screenshot menu-font-30
measure_item menu-font-30
item_30=$ITEM
xdotool key Up Up Up Right
settled_screenshot menu-font-30-submenu
xdotool key Down Return
expect_chosen font-30 "notes.md"

if [ "$item_0" -ge "$item_14" ] || [ "$item_14" -ge "$item_30" ]; then
    fail "an item is not taller at each larger font: $item_0, $item_14 and $item_30 pixels"
fi
pass "an item is $item_0, $item_14 and $item_30 pixels high at the standard font, 14 and 30 points"

# The dark appearance, whatever the desktop's colours: a dark background
# (drawn at about 40 of 255) with text drawn light on it.
open_menu dark --font-size 14 --appearance dark
menu_screenshot menu-dark
xdotool key Escape
expect_chosen dark "(none)"
menu_colours menu-dark
log "dark: background luminance $BACKGROUND, $LIGHT light pixels"
[ "$BACKGROUND" -lt 80 ] || fail "the dark menu's background has luminance $BACKGROUND of 255"
[ "$LIGHT" -gt 300 ] || fail "the dark menu has only $LIGHT light pixels: its text is not drawn light"
pass "the dark menu is dark (background luminance $BACKGROUND) with light text ($LIGHT pixels)"
