#!/usr/bin/env bash
# trovix search finds items anywhere in both fixture applications' menus:
# the GTK fixture's whole tree comes from one cache request, the Qt fixture's
# item by item; --press runs the best match (a check item of the Qt fixture
# changes its mark); a stopped application costs one messaging timeout, is
# named as one that stopped answering, and what was read (here nothing) is
# searched.
. "$(dirname "$0")/lib.sh"
require_desktop

export XDG_STATE_HOME=$ARTIFACTS/state
fixtures=$TROVIX_BUILD_DIR/tests/fixtures
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json
arrow=' › '

start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
start_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
gtk_pid=$APP_PID
wait_for_bus "$qt_pid" "the Qt fixture"
wait_for_bus "$gtk_pid" "the GTK fixture"

for toolkit in gtk qt; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    "$TROVIX" search --pid "$pid" open rec alp >"$ARTIFACTS/$toolkit-search.out" \
        2>"$ARTIFACTS/$toolkit-search.err" ||
        fail "search in the $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit-search.err")"
    first=$(head -n 1 "$ARTIFACTS/$toolkit-search.out")
    expected="File${arrow}Open Recent${arrow}Projects${arrow}Alpha"$'\t'"⌃⌥1"
    [ "$first" = "$expected" ] || fail "search in the $toolkit fixture listed first: '$first'"
    "$TROVIX" search --pid "$pid" --json new >"$ARTIFACTS/$toolkit-search.json" ||
        fail "search --json in the $toolkit fixture failed"
    jq -e '.[0].path == ["File", "New"]' "$ARTIFACTS/$toolkit-search.json" >/dev/null ||
        fail "search --json in the $toolkit fixture: $(head -c 400 "$ARTIFACTS/$toolkit-search.json")"
    source=$(jq -r '.[0].source' "$ARTIFACTS/$toolkit-search.json")
    log "the $toolkit fixture's tree was read $source"
    pass "search finds deep items in the $toolkit fixture first"
done
[ "$(jq -r '.[0].source' "$ARTIFACTS/gtk-search.json")" = whole-tree ] ||
    fail "the GTK fixture's tree was not read through its cache"
[ "$(jq -r '.[0].source' "$ARTIFACTS/qt-search.json")" = item-by-item ] ||
    fail "the Qt fixture's tree was not read item by item"
pass "GTK answers with its cache, Qt item by item"

# Pressing the best match: an item of the GTK fixture found in its cache, and
# a check item of the Qt fixture, whose mark then changes.
"$TROVIX" search --pid "$gtk_pid" --press beta >"$ARTIFACTS/gtk-press.out" 2>&1 ||
    fail "search --press in the GTK fixture failed: $(cat "$ARTIFACTS/gtk-press.out")"
wait_for 10 grep -qx "activated File > Open Recent > Projects > Beta" "$ARTIFACTS/fixture-gtk.out" ||
    fail "the GTK fixture did not run Beta"
# The mark of View > Show Sidebar; fails when the item cannot be read.
sidebar_mark() {
    "$TROVIX" dump-menu --pid "$qt_pid" --json 2>>"$ARTIFACTS/dump-menu.err" |
        jq -er '.menus[] | select(.title == "View") | .items[] | select(.title == "Show Sidebar") | .mark'
}
before=$(sidebar_mark) || fail "cannot read the Qt fixture's Show Sidebar"
"$TROVIX" search --pid "$qt_pid" --press show side >"$ARTIFACTS/qt-press.out" 2>&1 ||
    fail "search --press in the Qt fixture failed: $(cat "$ARTIFACTS/qt-press.out")"
grep -qx "pressed View${arrow}Show Sidebar" "$ARTIFACTS/qt-press.out" ||
    fail "search --press in the Qt fixture said: $(cat "$ARTIFACTS/qt-press.out")"
after=""
wait_for 10 eval 'after=$(sidebar_mark) && [ "$after" != "$before" ]' ||
    fail "Show Sidebar kept its mark '$before' after the press"
pass "search --press runs the best match; the Qt check item now reads '$after'"

# A stopped application: one timeout, a clear line, no hang. Nothing was read
# before it stopped, so nothing matches. The same search of the answering
# fixture gives the time to compare with.
for toolkit in gtk qt; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    started=$(_lib_now_ms)
    "$TROVIX" search --pid "$pid" save >/dev/null 2>"$ARTIFACTS/$toolkit-answering.err" ||
        fail "search in the answering $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit-answering.err")"
    baseline=$(($(_lib_now_ms) - started))
    kill -STOP "$pid"
    started=$(_lib_now_ms)
    "$TROVIX" search --pid "$pid" save >"$ARTIFACTS/$toolkit-stopped.out" \
        2>"$ARTIFACTS/$toolkit-stopped.err"
    status=$?
    elapsed=$(($(_lib_now_ms) - started))
    kill -CONT "$pid"
    log "search in the stopped $toolkit fixture: exit $status: $(cat "$ARTIFACTS/$toolkit-stopped.err")"
    [ "$status" = 1 ] || fail "search in the stopped $toolkit fixture exited with $status, not 1"
    grep -qx "trovix: the application with pid $pid stopped answering; searching what was read" \
        "$ARTIFACTS/$toolkit-stopped.err" || fail "search in the stopped $toolkit fixture did not say it stopped answering"
    grep -qx 'trovix: no menu item matches "save"' "$ARTIFACTS/$toolkit-stopped.err" ||
        fail "search in the stopped $toolkit fixture did not say that nothing matches"
    expect_within_timeout "search in the stopped $toolkit fixture" "$elapsed" "$baseline"
    running "$pid" || fail "the $toolkit fixture did not survive"
done
pass "a stopped application is reported within the timeout"
