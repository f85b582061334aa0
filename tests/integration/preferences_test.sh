#!/usr/bin/env bash
# The preferences window opens at launch on a fresh account, on the section
# asked for, and its height follows the section shown. Screenshots of the
# three sections are kept for review.
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
    terminate "$TROVIX_PID" 5
done

[ "${heights[Updates]}" -lt "${heights[Advanced]}" ] ||
    fail "Updates (${heights[Updates]} px) is not lower than Advanced (${heights[Advanced]} px)"
[ "${heights[Updates]}" -lt "${heights[Menu]}" ] ||
    fail "Updates (${heights[Updates]} px) is not lower than Menu (${heights[Menu]} px)"
pass "the window's height follows the section"
