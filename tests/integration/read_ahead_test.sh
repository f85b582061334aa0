#!/usr/bin/env bash
# Menu bars read ahead over the accessibility bus, for a GTK and a Qt
# application: a pop-up asked for while the read is under way waits for it
# (one read, not two); after the application adds, renames and removes menu
# items, disables one and checks another, the pop-up shown from what is kept
# equals a fresh read, submenus opened, both when a pop-up asks Qt's entries
# again and when it shows them as read and corrects itself once a check has
# read them again; an application that quits is forgotten.
. "$(dirname "$0")/lib.sh"
require_desktop

probe=$TROVIX_BUILD_DIR/tests/menus/trovix-read-ahead-probe
[ -x "$probe" ] || fail "the probe is not built: $probe"

for toolkit in gtk qt; do
    start_app "fixture-$toolkit" "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-$toolkit" \
        "$TROVIX_SOURCE_DIR/tests/fixtures/menu.json"
    pid=$APP_PID
    wait_for_bus "$pid" "the $toolkit fixture"

    # The first menu (which the fixture changes) and the View menu are read
    # with the menu bar (fast-tracked), the others when they are opened.
    rm -f "$ARTIFACTS/probe-$toolkit.in"
    mkfifo "$ARTIFACTS/probe-$toolkit.in"
    "$probe" "$pid" --fast-track fixture,view <"$ARTIFACTS/probe-$toolkit.in" \
        >"$ARTIFACTS/probe-$toolkit.out" 2>"$ARTIFACTS/probe-$toolkit.err" &
    probe_pid=$!
    _lib_started+=("$probe_pid probe-$toolkit")
    exec 3>"$ARTIFACTS/probe-$toolkit.in"
    answers=0
    ask() {
        answers=$((answers + 1))
        echo "$1" >&3
        wait_for 60 eval '[ "$(wc -l <"$ARTIFACTS/probe-$toolkit.out")" -ge "$answers" ]' ||
            fail "the probe did not answer '$1' ($toolkit)"
        STATUS=$(tail -n 1 "$ARTIFACTS/probe-$toolkit.out")
    }
    expect_same() {
        jq -e '.same and .kept' <<<"$STATUS" >/dev/null || {
            jq -r '"kept:\n" + (.keptMenu // "") + "\nfresh:\n" + (.freshMenu // "")' <<<"$STATUS" >&2
            fail "$toolkit: the pop-up from the kept menu bar differs from a fresh read $1: $(jq -c '{kept, reads, keptBefore, same}' <<<"$STATUS")"
        }
    }

    ask trigger
    jq -e '.readingAtTrigger and .reads == 1 and .kept and .items > 5' <<<"$STATUS" >/dev/null ||
        fail "$toolkit: a pop-up during the read did not wait for it: $STATUS"
    ask compare
    expect_same "as read"
    # GTK tells about every change to its menus, so what was read is shown
    # as it is; Qt tells nothing, so its entries are asked again.
    as_read=false
    [ "$toolkit" = gtk ] && as_read=true
    [ "$(jq .shownAsRead <<<"$STATUS")" = "$as_read" ] ||
        fail "$toolkit: the kept menu bar is not shown as expected (as read: $as_read): $STATUS"
    reads=$(jq .reads <<<"$STATUS")
    expect_shown() {
        ask shown
        jq -e '.same' <<<"$STATUS" >/dev/null || {
            jq -r '"shown:\n" + (.keptMenu // "") + "\nfresh:\n" + (.freshMenu // "")' <<<"$STATUS" >&2
            fail "$toolkit: the pop-up a trigger shows differs from a fresh read $1: $(jq -c '{checked, changed, same}' <<<"$STATUS")"
        }
        # Qt's menus are shown as read and checked by a read at once; GTK's
        # need no check.
        [ "$(jq .checked <<<"$STATUS")" = "$([ "$toolkit" = qt ] && echo true || echo false)" ] ||
            fail "$toolkit: the pop-up was not checked as expected $1: $STATUS"
        [ "$(jq .changed <<<"$STATUS")" = "$2" ] ||
            fail "$toolkit: the check found changes: $(jq .changed <<<"$STATUS"), expected $2 $1: $STATUS"
    }
    expect_shown "as read" false
    reads=$(jq .reads <<<"$STATUS")

    changes=0
    for change in HUP USR2 WINCH; do
        kill "-$change" "$pid"
        changes=$((changes + 1))
        wait_for 10 eval "[ \"\$(grep -cE '^(added|renamed|changed) ' '$ARTIFACTS/fixture-$toolkit.out')\" -ge $changes ]" ||
            fail "$toolkit: the fixture did not change on SIG$change"
        ask compare
        expect_same "after SIG$change"
        # Qt's check finds what changed, and the pop-up is built again.
        expect_shown "after SIG$change" "$([ "$toolkit" = qt ] && echo true || echo false)"
        # GTK tells about the change and is read again; Qt tells nothing, and
        # its entries are asked again for each pop-up.
        if [ "$toolkit" = gtk ]; then
            [ "$(jq .reads <<<"$STATUS")" -gt "$reads" ] ||
                fail "$toolkit: SIG$change was not noticed: $STATUS"
        fi
        reads=$(jq .reads <<<"$STATUS")
    done

    terminate "$pid" 10
    ask compare
    jq -e '.kept | not' <<<"$STATUS" >/dev/null || fail "$toolkit: a quit application stays kept: $STATUS"
    exec 3>&-
    wait_exit "$probe_pid" 20 || fail "the probe did not end ($toolkit)"
    [ "$EXIT_STATUS" = 0 ] || fail "the probe ended with status $EXIT_STATUS ($toolkit): $(tail -n 20 "$ARTIFACTS/probe-$toolkit.err")"
    sanitizer_report "$ARTIFACTS/probe-$toolkit.err" && fail "the probe's sanitizer reported ($toolkit)"
    log "$toolkit: kept and fresh pop-ups agree through $changes changes"
done
pass
