#!/usr/bin/env bash
# The workspace on a real desktop: both fixture applications are running
# applications with their names, the frontmost application follows the active
# window (also for trovix dump-menu --frontmost), and the accessibility bus's
# activation events where _NET_ACTIVE_WINDOW names no client; activation through EWMH
# brings a fixture's window to the front, and a reopen request restores a
# minimised one; a window that is not normal makes an accessory application.
. "$(dirname "$0")/lib.sh"
require_desktop

fixtures=$TROVIX_BUILD_DIR/tests/fixtures
probe=$TROVIX_BUILD_DIR/tests/workspace/trovix-workspace-probe
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json
[ -x "$probe" ] || fail "the workspace probe is not built: $probe"
[ -x "${TROVIX:-}" ] || fail "TROVIX does not name the built executable: '${TROVIX:-}'"

# Desktop entries for both fixtures in the session's own data folder: one that
# starts the fixture as it is, and one that starts it with an argument (as a
# settings entry does) and sorts first. The GTK fixture also has an entry that
# names its window class (GTK's WM_CLASS class is the capitalised program
# name), which comes before any entry found by its command.
mkdir -p "$XDG_DATA_HOME/applications"
for toolkit in qt gtk; do
    printf '[Desktop Entry]\nType=Application\nName=Fixture Entry (%s)\nExec=%s %%F\n' \
        "$toolkit" "$fixtures/trovix-fixture-$toolkit" \
        >"$XDG_DATA_HOME/applications/trovix-fixture-$toolkit.desktop"
    printf '[Desktop Entry]\nType=Application\nName=Fixture Settings (%s)\nExec=%s --settings\n' \
        "$toolkit" "$fixtures/trovix-fixture-$toolkit" \
        >"$XDG_DATA_HOME/applications/a-fixture-settings-$toolkit.desktop"
done
printf '[Desktop Entry]\nType=Application\nName=Fixture Window (gtk)\nExec=fixture-launcher\nStartupWMClass=Trovix-fixture-gtk\n' \
    >"$XDG_DATA_HOME/applications/z-fixture-window-gtk.desktop"

start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
wait_for_window_of 30 "$qt_pid"
qt_window=$WINDOW
start_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
gtk_pid=$APP_PID
wait_for_window_of 30 "$gtk_pid"
gtk_window=$WINDOW

# _NET_ACTIVE_WINDOW as a decimal window id (0 when none).
active_window() {
    local value
    value=$(xprop -root -notype _NET_ACTIVE_WINDOW 2>/dev/null | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p')
    printf '%d\n' "${value:-0}"
}

is_active() {
    [ "$(active_window)" -eq "$1" ]
}

# The line of PID in the probe's list of running applications.
listed() {
    "$probe" list | awk -F '\t' -v pid="$1" '$1 == pid'
}

# Both fixtures are regular applications named after their desktop entries.
for expected in "$qt_pid Fixture Entry (qt)" "$gtk_pid Fixture Window (gtk)"; do
    read -r pid name <<<"$expected"
    wait_for 30 eval "[ \"\$(listed $pid | cut -f4)\" = '$name' ]" ||
        fail "process $pid is not listed as '$name': '$(listed "$pid")'"
    line=$(listed "$pid")
    [ "$(cut -f2 <<<"$line")" = regular ] || fail "process $pid is not regular: $line"
    [ "$(cut -f3 <<<"$line")" = shown ] || fail "process $pid counts as hidden: $line"
done
"$probe" list >"$ARTIFACTS/running.txt"
listed $$ | grep -q . && fail "the test's shell, which has no window, is listed: $(listed $$)"
pass "both fixtures are regular running applications, named by their window class and their command"

# Activation through EWMH, front window only and all windows, each time
# bringing the other fixture forward.
for round in "qt $qt_window" "gtk $gtk_window" "qt $qt_window all"; do
    read -r toolkit window all <<<"$round"
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    before=$(active_window)
    [ "$before" -ne "$window" ] || fail "the $toolkit fixture is active before its activation"
    "$probe" activate "$pid" $all || fail "activating the $toolkit fixture was refused"
    wait_for 10 is_active "$window" ||
        fail "activating the $toolkit fixture left _NET_ACTIVE_WINDOW at $(active_window), not $window"
    log "_NET_ACTIVE_WINDOW $before -> $(active_window) (${all:-front window})"

    # The frontmost application follows, also for trovix dump-menu.
    [ "$("$probe" frontmost | cut -f1)" = "$pid" ] ||
        fail "the frontmost application is $("$probe" frontmost), not the $toolkit fixture ($pid)"
    "$TROVIX" dump-menu --frontmost --depth 1 >"$ARTIFACTS/frontmost-$toolkit.txt" 2>&1 ||
        fail "dump-menu --frontmost failed: $(cat "$ARTIFACTS/frontmost-$toolkit.txt")"
    "$TROVIX" dump-menu --pid "$pid" --depth 1 >"$ARTIFACTS/pid-$toolkit.txt" 2>&1 ||
        fail "dump-menu --pid $pid failed: $(cat "$ARTIFACTS/pid-$toolkit.txt")"
    cmp -s "$ARTIFACTS/frontmost-$toolkit.txt" "$ARTIFACTS/pid-$toolkit.txt" ||
        fail "dump-menu --frontmost did not read the $toolkit fixture"
    pass "activating the $toolkit fixture (${all:-front window}) made it frontmost"
done
screenshot activated >/dev/null

# The front window as the accessibility bus tells it, which Wayland windows
# depend on: a scan finds the active fixture, the activation events of each
# switch move the tracked application at once, and the workspace falls back on
# it when _NET_ACTIVE_WINDOW names no client (as under XWayland when a Wayland
# window is active).
[ "$("$probe" tracked)" = "$qt_pid" ] ||
    fail "a scan of the accessibility bus found $("$probe" tracked) active, not the Qt fixture ($qt_pid)"
start_app follow "$probe" follow
follow_out=$ARTIFACTS/follow.out
wait_for 20 grep -qx listening "$follow_out" || fail "the tracker does not listen to activation events"
for round in "gtk $gtk_window $gtk_pid" "qt $qt_window $qt_pid"; do
    read -r toolkit window pid <<<"$round"
    told_before=$(wc -l <"$follow_out")
    xdotool windowactivate "$window" || fail "xdotool cannot activate the $toolkit fixture"
    wait_for 10 eval "[ \"\$(tail -n 1 '$follow_out')\" = $pid ]" ||
        fail "after activating the $toolkit fixture the tracker told: $(tail -n +$((told_before + 1)) "$follow_out" | tr '\n' ' ')"
    # Nothing but the new application (or, between two windows, none) was told.
    others=$(tail -n +$((told_before + 1)) "$follow_out" | grep -vx -e "$pid" -e 0)
    [ -z "$others" ] || fail "activating the $toolkit fixture also told: $others"
done
root_window=$(xwininfo -root | awk '/Window id:/ { print $4 }')
for stale in "$root_window" 0; do
    xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$stale" ||
        fail "cannot set _NET_ACTIVE_WINDOW"
    xprop -root _NET_ACTIVE_WINDOW | grep -qx "_NET_ACTIVE_WINDOW(CARDINAL) = $((stale))" ||
        fail "_NET_ACTIVE_WINDOW did not keep $stale: $(xprop -root _NET_ACTIVE_WINDOW)"
    [ "$("$probe" frontmost | cut -f1)" = "$qt_pid" ] ||
        fail "with _NET_ACTIVE_WINDOW $stale the frontmost application is '$("$probe" frontmost)', not the Qt fixture"
done
# The window manager writes it anew at the next activation.
xprop -root -f _NET_ACTIVE_WINDOW 32x -set _NET_ACTIVE_WINDOW "$qt_window"
pass "the accessibility bus's front window follows activation and stands in for _NET_ACTIVE_WINDOW"

# A minimised fixture counts as hidden; the reopen request shows it again and
# brings it forward.
xdotool windowminimize --sync "$gtk_window" || fail "the GTK fixture's window cannot be minimised"
wait_for 10 eval "[ \"\$(listed $gtk_pid | cut -f3)\" = hidden ]" ||
    fail "the minimised GTK fixture is not hidden: $(listed "$gtk_pid")"
"$probe" reopen "$gtk_pid" || fail "reopening the GTK fixture was refused"
wait_for 10 is_active "$gtk_window" || fail "reopening did not bring the GTK fixture forward"
wait_for 10 eval "[ \"\$(listed $gtk_pid | cut -f3)\" = shown ]" ||
    fail "the reopened GTK fixture still counts as hidden"
pass "a minimised fixture is hidden, and reopening restores it"

# A window the window manager does not list in a taskbar (a utility window, or
# one skipping the taskbar) makes its application an accessory one; each
# property is read for every window at once, and each one counts.
kind() { listed "$gtk_pid" | cut -f2; }
[ "$(kind)" = regular ] || fail "the GTK fixture is not a regular application: $(listed "$gtk_pid")"
xprop -id "$gtk_window" -f _NET_WM_WINDOW_TYPE 32a -set _NET_WM_WINDOW_TYPE _NET_WM_WINDOW_TYPE_UTILITY
wait_for 10 eval '[ "$(kind)" = accessory ]' ||
    fail "with a utility window the GTK fixture is $(kind), not an accessory application"
xprop -id "$gtk_window" -f _NET_WM_WINDOW_TYPE 32a -set _NET_WM_WINDOW_TYPE _NET_WM_WINDOW_TYPE_NORMAL
wait_for 10 eval '[ "$(kind)" = regular ]' || fail "with a normal window again the GTK fixture is $(kind)"
# The state as a window that asks to skip the taskbar carries it (this
# window manager keeps a state it is not asked to change).
xprop -id "$gtk_window" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_SKIP_TASKBAR
wait_for 10 eval '[ "$(kind)" = accessory ]' ||
    fail "off the taskbar the GTK fixture is $(kind), not an accessory application"
xprop -id "$gtk_window" -remove _NET_WM_STATE
wait_for 10 eval '[ "$(kind)" = regular ]' || fail "back on the taskbar the GTK fixture is $(kind)"
[ "$(listed "$qt_pid" | cut -f2)" = regular ] || fail "the Qt fixture is no longer regular: $(listed "$qt_pid")"
pass "a utility window, or one off the taskbar, makes an accessory application"

# A process that has ended is no running application and cannot be activated.
terminate "$qt_pid" 10
listed "$qt_pid" | grep -q . && fail "the ended Qt fixture is still listed"
"$probe" activate "$qt_pid" && fail "activating an ended application succeeded"
pass "an ended application is gone from the list and cannot be activated"
