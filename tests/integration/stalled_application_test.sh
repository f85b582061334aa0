#!/usr/bin/env bash
# An application that stops answering after its menu bar was listed costs the
# pop-up one messaging timeout, not one per remaining read, in both toolkits:
# the timed-out read is recognised over AT-SPI and ends the reading.
. "$(dirname "$0")/lib.sh"
require_desktop

fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json
probe=$TROVIX_BUILD_DIR/tests/menus/trovix-stall-probe
[ -x "$probe" ] || fail "the stall probe is not built: $probe"

start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
start_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
gtk_pid=$APP_PID

for toolkit in qt gtk; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    wait_for_bus "$pid" "the $toolkit fixture"
    "$probe" "$pid" >"$ARTIFACTS/$toolkit.out" 2>"$ARTIFACTS/$toolkit.err" ||
        fail "the probe failed on the $toolkit fixture: $(cat "$ARTIFACTS/$toolkit.err")"
    read -r answer <"$ARTIFACTS/$toolkit.out"
    [[ $answer =~ ^items\ ([0-9]+)\ timeouts\ ([0-9]+)\ ms\ ([0-9]+)$ ]] ||
        fail "the probe answered '$answer' for the $toolkit fixture"
    items=${BASH_REMATCH[1]} timeouts=${BASH_REMATCH[2]} ms=${BASH_REMATCH[3]}
    log "$toolkit fixture stopped after its menu bar was listed: $items items, $timeouts timed-out read(s), $ms ms"
    [ "$timeouts" -eq 1 ] || fail "reading the stopped $toolkit fixture ran into $timeouts timeouts"
    # The probe lets the fixture go on: it answers again.
    wait_for_bus "$pid" "the $toolkit fixture after the stop"
    pass "the stopped $toolkit fixture cost one timeout ($ms ms)"
done
