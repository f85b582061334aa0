#!/usr/bin/env bash
# trovix dump-menu reads both fixture applications' menu bars as the pop-up
# does: every item with its enabled state, mark, key equivalent and hidden
# flag, as JSON too; pressing an item in a submenu that was never opened runs
# it in the fixture; pressing an item that opens a modal dialog does not wait
# for the dialog; a stopped fixture is reported within the timeout plus one
# second; without a session bus it says that the bus is missing.
. "$(dirname "$0")/lib.sh"
require_desktop

fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json

# Qt 6.4 stays off the accessibility bus when it finds the bus address in its
# environment at start (it connects before it listens for the switch), so the
# Qt fixture starts without it and asks the session bus, as desktop
# applications do.
start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
start_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
gtk_pid=$APP_PID

for toolkit in qt gtk; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    wait_for_bus "$pid" "the $toolkit fixture"

    "$TROVIX" dump-menu --pid "$pid" >"$ARTIFACTS/$toolkit.txt" 2>"$ARTIFACTS/$toolkit.err" ||
        fail "dump-menu of the $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit.err")"
    "$TROVIX" dump-menu --pid "$pid" --json >"$ARTIFACTS/$toolkit.json" ||
        fail "dump-menu --json of the $toolkit fixture failed"
    expect "dump-menu --json of the $toolkit fixture is not valid JSON" \
        jq empty "$ARTIFACTS/$toolkit.json"
    python3 "$(dirname "$0")/check_dump_menu.py" "$description" "$ARTIFACTS/$toolkit.json" \
        "$toolkit" >&2 || fail "the $toolkit fixture's menu bar reads wrong (see above)"
    pass "the $toolkit fixture's menu bar reads right, as text and as JSON"

    # An item two submenus deep that was never opened.
    "$TROVIX" dump-menu --pid "$pid" --press "File > Open Recent > Projects > Alpha" \
        >>"$ARTIFACTS/$toolkit-press.out" 2>&1 || fail "pressing Alpha in the $toolkit fixture failed"
    wait_for 10 grep -qx "activated File > Open Recent > Projects > Alpha" \
        "$ARTIFACTS/fixture-$toolkit.out" ||
        fail "the $toolkit fixture did not run the pressed item"
    started=$(_lib_now_ms)
    "$TROVIX" dump-menu --pid "$pid" --press "Edit > Undo" >>"$ARTIFACTS/$toolkit-press.out" 2>&1 ||
        fail "pressing Undo in the $toolkit fixture failed"
    declare "${toolkit}_press_ms=$(($(_lib_now_ms) - started))"
    wait_for 10 grep -qx "activated Edit > Undo" "$ARTIFACTS/fixture-$toolkit.out" ||
        fail "the $toolkit fixture did not run Undo"
    pass "pressing items of unopened submenus runs them in the $toolkit fixture"
done

# An item that opens a modal dialog. Qt answers the press only when the
# dialog closes; the command still reports it as soon as the application has
# shown it is busy with it, and the dialog is open. GTK presses
# asynchronously and reads as before. Either way the press ends within the
# messaging timeout plus one second over the press of Undo above.
for toolkit in gtk qt; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    baseline_var=${toolkit}_press_ms
    for item in "Help > Fixture Help" "Help > About"; do
        started=$(_lib_now_ms)
        timeout 30 "$TROVIX" dump-menu --pid "$pid" --press "$item" \
            >"$ARTIFACTS/$toolkit-dialog-press.out" 2>&1
        status=$?
        elapsed=$(($(_lib_now_ms) - started))
        log "dump-menu --press '$item' in the $toolkit fixture: exit $status after $elapsed ms"
        [ "$status" -eq 0 ] ||
            fail "pressing $item in the $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit-dialog-press.out")"
        grep -qx "pressed $item" "$ARTIFACTS/$toolkit-dialog-press.out" ||
            fail "pressing $item in the $toolkit fixture said: $(cat "$ARTIFACTS/$toolkit-dialog-press.out")"
        bound=$((${!baseline_var} + $(messaging_timeout_ms) + 1000))
        [ "$elapsed" -le "$bound" ] ||
            fail "pressing $item in the $toolkit fixture took $elapsed ms, more than $bound ms (Undo took ${!baseline_var} ms)"
        wait_for 10 grep -qx "activated $item" "$ARTIFACTS/fixture-$toolkit.out" ||
            fail "the $toolkit fixture did not run $item"
    done
done
wait_for_window 10 "^About Trovix Fixture$"
dialog=$WINDOW
shot=$(screenshot qt-about-dialog) || fail "no screenshot of the About dialog"
log "the Qt fixture's About dialog: $shot"
grep -q "dialog-closed" "$ARTIFACTS/fixture-qt.out" &&
    fail "the About dialog closed before the command had finished"
pass "pressing an item that opens a modal dialog returns while the dialog is open"

# Stopped with two windows (the main window and the dialog): the search for a
# menu bar over all windows stays within the timeout plus one second. The top
# level read from the answering fixture with its dialog open gives the figure
# to compare with.
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" --depth 1 >/dev/null 2>"$ARTIFACTS/dialog-baseline.err" ||
    fail "dump-menu of the running fixture with its dialog open failed: $(cat "$ARTIFACTS/dialog-baseline.err")"
baseline=$(($(_lib_now_ms) - started))
kill -STOP "$qt_pid"
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" >/dev/null 2>"$ARTIFACTS/stopped-dialog.err"
status=$?
elapsed=$(($(_lib_now_ms) - started))
kill -CONT "$qt_pid"
log "dump-menu of the stopped fixture with its dialog open: exit $status after $elapsed ms"
[ "$status" -eq 1 ] || fail "dump-menu of a stopped application exited with $status, not 1"
expect_within_timeout "dump-menu of a stopped application with two windows" "$elapsed" "$baseline"
pass "a stopped application with two windows is reported after $elapsed ms"
xdotool windowactivate --sync "$dialog" key --clearmodifiers Return ||
    fail "cannot close the About dialog"
wait_for 10 grep -qx "dialog-closed About" "$ARTIFACTS/fixture-qt.out" ||
    fail "the About dialog did not close"

# A stopped application: one clear line and exit 1 within the messaging
# timeout (the default 1 s) plus one second.
# The top level read from the answering fixture gives the figure to compare with.
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" --depth 1 >/dev/null 2>"$ARTIFACTS/baseline.err" ||
    fail "dump-menu of the running fixture failed: $(cat "$ARTIFACTS/baseline.err")"
baseline=$(($(_lib_now_ms) - started))
kill -STOP "$qt_pid"
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" >"$ARTIFACTS/stopped.out" 2>"$ARTIFACTS/stopped.err"
status=$?
elapsed=$(($(_lib_now_ms) - started))
kill -CONT "$qt_pid"
log "dump-menu of the stopped fixture: exit $status: $(cat "$ARTIFACTS/stopped.err")"
[ "$status" -eq 1 ] || fail "dump-menu of a stopped application exited with $status, not 1"
expect_within_timeout "dump-menu of a stopped application" "$elapsed" "$baseline"
grep -q "does not answer within 1 s" "$ARTIFACTS/stopped.err" ||
    fail "dump-menu of a stopped application said: $(cat "$ARTIFACTS/stopped.err")"
[ "$(wc -l <"$ARTIFACTS/stopped.err")" -eq 1 ] || fail "the message is not one line"
pass "a stopped application is reported after $elapsed ms"

# Not on the bus, and a process that does not exist.
"$TROVIX" dump-menu --pid $$ >/dev/null 2>"$ARTIFACTS/nobus.err" && fail "dump-menu of a shell succeeded"
grep -q "is not on the accessibility bus" "$ARTIFACTS/nobus.err" ||
    fail "dump-menu of a shell said: $(cat "$ARTIFACTS/nobus.err")"
"$TROVIX" dump-menu --pid 999999999 >/dev/null 2>"$ARTIFACTS/noprocess.err" &&
    fail "dump-menu of a missing process succeeded"
pass "applications off the bus and missing processes get one clear line"

# Without a session bus (a terminal on a server: no bus address, and no X
# display or runtime folder to find one through) there is no accessibility to
# turn on: the line says what is missing.
env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR \
    "$TROVIX" dump-menu --pid "$gtk_pid" >/dev/null 2>"$ARTIFACTS/nosession.err" &&
    fail "dump-menu without a session bus succeeded"
grep -q "session bus is missing" "$ARTIFACTS/nosession.err" ||
    fail "dump-menu without a session bus said: $(cat "$ARTIFACTS/nosession.err")"
pass "dump-menu without a session bus says so: $(cat "$ARTIFACTS/nosession.err")"
