#!/usr/bin/env bash
# The preferences window opens at launch on a fresh account, on the section
# asked for, and its height follows the section shown; it stays in view on
# every workspace, also when opened again; its toolbar follows a light and a
# dark desktop palette. Screenshots of the three sections and of the toolbar
# in both palettes are kept for review.
. "$(dirname "$0")/lib.sh"
require_desktop

window_height() {
    xdotool getwindowgeometry "$1" | awk '/Geometry:/ { split($2, size, "x"); print size[2] }'
}

declare -A heights
for section in Menu Advanced Updates; do
    "$TROVIX" defaults write "Preferences Section" -string "$section" ||
        fail "cannot store the section to open"
    start_trovix
    wait_for_window 60 '^Trovix$'
    # The section opens half a second after launch, which takes the pending
    # section out of the settings; then the height settles.
    wait_for 30 eval '[ -z "$("$TROVIX" defaults read "Preferences Section" 2>/dev/null)" ]' ||
        fail "the pending section was not opened"
    wait_stable 30 window_height "$WINDOW" || fail "the $section window's height did not settle"
    heights[$section]=$STABLE
    screenshot "$(echo "$section" | tr '[:upper:]' '[:lower:]')" >/dev/null ||
        fail "no screenshot of the $section section"
    pass "$section section shown, ${heights[$section]} px high"
    stop_trovix
done

[ "${heights[Updates]}" -lt "${heights[Advanced]}" ] ||
    fail "Updates (${heights[Updates]} px) is not lower than Advanced (${heights[Advanced]} px)"
[ "${heights[Updates]}" -lt "${heights[Menu]}" ] ||
    fail "Updates (${heights[Updates]} px) is not lower than Menu (${heights[Menu]} px)"
pass "the window's height follows the section"

# The window is on every workspace: it stays in view when the user switches,
# also after it was closed and opened again (starting Trovix again). The
# window manager keeps _NET_WM_STATE to itself, so the desktop number is what
# shows it.
on_all_workspaces() {
    xprop -id "$WINDOW" _NET_WM_DESKTOP | grep -q '= 4294967295$'
}
viewable() {
    xwininfo -id "$WINDOW" | grep -q 'Map State: IsViewable'
}
on_desktop() {
    [ "$(xdotool get_desktop)" = "$1" ]
}

# A toolbar screenshot: the top of the window, where the sections are.
toolbar_screenshot() {
    local file="$ARTIFACTS/$1.png"
    import -window "$WINDOW" -crop x100+0+0 +repage "$file" && echo "$file"
}
# The mean lightness of an image, from 0 (black) to 100 (white).
lightness() {
    convert "$1" -colorspace gray -format '%[fx:int(100*mean)]' info:
}

xdotool set_num_desktops 2 || fail "cannot ask for a second workspace"
start_trovix
wait_for_window 60 '^Trovix$'
wait_for 10 on_all_workspaces || fail "the window is not on all workspaces"
pass "the window is on all workspaces"
light=$(toolbar_screenshot toolbar-light) || fail "no screenshot of the toolbar"

xdotool set_desktop 1 && wait_for 10 on_desktop 1 || fail "cannot switch to the second workspace"
wait_for 10 viewable || fail "the window left the screen with the workspace"
pass "the window stays in view on the second workspace"

xdotool windowactivate --sync "$WINDOW" key Escape
wait_for 10 eval '! viewable' || fail "Escape did not close the window"
first=$TROVIX_PID
start_trovix # asks the running one to reopen
expect_trovix_exit "$TROVIX_PID" 30
TROVIX_PID=$first
# Closing may have destroyed the X window: find the window anew.
wait_for_window 30 '^Trovix$'
wait_for 10 on_all_workspaces || fail "the window opened again is not on all workspaces"
xdotool set_desktop 0 && wait_for 10 on_desktop 0 || fail "cannot switch back to the first workspace"
wait_for 10 viewable || fail "the window opened again left the screen with the workspace"
pass "opened again, the window is still on all workspaces"
stop_trovix

# A dark desktop palette, as a desktop hands it to Qt: the toolbar's images
# follow it.
cat >"${XDG_CONFIG_HOME:?}/kdeglobals" <<'INI'
[Colors:Window]
BackgroundNormal=42,42,46
ForegroundNormal=238,232,213
[Colors:Button]
BackgroundNormal=52,52,58
ForegroundNormal=238,232,213
[Colors:View]
BackgroundNormal=30,30,34
ForegroundNormal=238,232,213
[Colors:Selection]
BackgroundNormal=61,110,170
ForegroundNormal=255,255,255
INI
KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true QT_QPA_PLATFORMTHEME=kde start_trovix
wait_for_window 60 '^Trovix$'
dark=$(toolbar_screenshot toolbar-dark) || fail "no screenshot of the dark toolbar"
stop_trovix
light_level=$(lightness "$light")
dark_level=$(lightness "$dark")
[ "$dark_level" -lt 40 ] && [ "$light_level" -gt 60 ] ||
    fail "toolbar lightness light $light_level, dark $dark_level: the palettes did not apply"
pass "toolbar screenshots: $light ($light_level), $dark ($dark_level)"
