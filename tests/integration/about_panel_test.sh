#!/usr/bin/env bash
# "About Trovix" in the tray menu opens the about panel: one window, named
# after the program, that Escape closes and the menu opens again without a
# second copy. A screenshot of the panel is kept for review.
. "$(dirname "$0")/lib.sh"
require_desktop

# Trovix's visible windows titled "About Trovix".
about_windows() {
    xdotool search --all --onlyvisible --pid "$TROVIX_PID" --name '^About Trovix$' 2>/dev/null
}
one_about_window() { [ "$(about_windows | wc -l)" = 1 ]; }
no_about_window() { [ -z "$(about_windows)" ]; }

visible_windows() { xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null | sort; }
# A visible window of Trovix that was not in the list $1.
new_window() { [ -n "$(comm -13 <(echo "$1") <(visible_windows))" ]; }

# Opens the tray icon's menu.
open_tray_menu() {
    # Menus that are still closing are out of the way first.
    wait_stable 10 visible_windows || fail "Trovix's windows did not settle"
    local before=$STABLE
    eval "$(xdotool getwindowgeometry --shell "$TRAY_ICON")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    # The menu is a popup window of Trovix's own.
    wait_for 10 new_window "$before" || fail "the tray menu did not open"
}

# Chooses the first entry of the tray icon's menu, "About Trovix".
choose_about() {
    open_tray_menu
    xdotool key Down Return
}

start_trovix
wait_for_tray_icon 60 Trovix
# The first launch opens the preferences window; the menu comes on top of it.
wait_for_window 60 '^(Trovix|Preferences)$'

choose_about
wait_for 20 one_about_window || fail "About Trovix did not open the about panel"
WINDOW=$(about_windows)
pass "the tray menu's About Trovix opens the about panel"
settled_screenshot about-panel
# The picture stands below the credits: scroll them to the end for a look.
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 2 / 3)) click --repeat 15 5
settled_screenshot about-panel-credits-end

# Escape closes the panel.
xdotool windowactivate --sync "$WINDOW" 2>/dev/null
xdotool key Escape
wait_for 10 no_about_window || fail "Escape did not close the about panel"
pass "Escape closes the about panel"

# "trovix show about" asks the running Trovix for the same panel.
"$TROVIX" show about >"$ARTIFACTS/show.out" 2>&1 || fail "trovix show about failed: $(cat "$ARTIFACTS/show.out")"
wait_for 20 one_about_window || fail "trovix show about did not open the about panel"
pass "trovix show about opens the about panel"
xdotool windowactivate --sync "$(about_windows)" 2>/dev/null
xdotool key Escape
wait_for 10 no_about_window || fail "Escape did not close the about panel"

# Chosen twice, the panel opens once.
choose_about
wait_for 20 one_about_window || fail "the about panel did not open again"
choose_about
# The second choice has run once the menu has closed again.
wait_stable 10 visible_windows || fail "Trovix's windows did not settle"
one_about_window || fail "choosing About Trovix again left $(about_windows | wc -l) panels"
pass "choosing About Trovix again reuses the open panel"

# The panel closed, the tray menu opened and closed again: the menu keeps the
# focus, as no other window of Trovix takes it, and Trovix still ends cleanly.
xdotool windowactivate --sync "$(about_windows)" 2>/dev/null
xdotool key Escape
wait_for 10 no_about_window || fail "Escape did not close the about panel"
open_tray_menu
xdotool key Escape
wait_stable 10 visible_windows || fail "Trovix's windows did not settle"
stop_trovix
pass "Trovix ends cleanly after the panel and the tray menu were shown"
