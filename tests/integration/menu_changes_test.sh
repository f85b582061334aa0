#!/usr/bin/env bash
# A kept menu tree lasts while the application changes other things (its
# window title, a label's text, as an editor does while the user types) and
# is dropped as soon as a menu item is renamed or added.
. "$(dirname "$0")/lib.sh"
require_desktop

probe=$TROVIX_BUILD_DIR/tests/accessibility/trovix-menu-tree-probe
[ -x "$probe" ] || fail "the probe is not built: $probe"

start_app fixture-gtk "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-gtk" \
    "$TROVIX_SOURCE_DIR/tests/fixtures/menu.json"
gtk_pid=$APP_PID
wait_for_bus "$gtk_pid" "the GTK fixture"

# The probe keeps the tree and answers each line it is sent with one status
# line: {"kept": ..., "judged": <change events judged so far>}.
mkfifo "$ARTIFACTS/probe.in"
"$probe" watch "$gtk_pid" <"$ARTIFACTS/probe.in" >"$ARTIFACTS/probe.out" 2>"$ARTIFACTS/probe.err" &
probe_pid=$!
_lib_started+=("$probe_pid probe")
exec 3>"$ARTIFACTS/probe.in"
answers=0
# Sends LINE (empty: only asking) and sets STATUS to the answer.
ask() {
    answers=$((answers + 1))
    echo "${1:-}" >&3
    wait_for 30 eval '[ "$(wc -l <"$ARTIFACTS/probe.out")" -gt "$answers" ]' ||
        fail "the probe did not answer"
    STATUS=$(tail -n 1 "$ARTIFACTS/probe.out")
}
kept() { jq -e '.kept' <<<"$STATUS" >/dev/null; }
judged() { jq '.judged' <<<"$STATUS"; }
wait_for 30 eval '[ -s "$ARTIFACTS/probe.out" ]' || fail "the probe did not read the tree"
STATUS=$(head -n 1 "$ARTIFACTS/probe.out")
kept || fail "the tree was not kept: $STATUS"

# One edit sends several events (the title's, the text's), judged one by one:
# the probe is asked until it has judged more than before and that count has
# stayed the same over three answers, and every answer must still keep the
# tree.
before=$(judged)
kill -USR1 "$gtk_pid"
wait_for 10 grep -qx "edited 1" "$ARTIFACTS/fixture-gtk.out" || fail "the fixture did not change its text"
deadline=$(($(_lib_now_ms) + 30000))
last=$before
same=0
while [ $same -lt 2 ]; do
    [ "$(_lib_now_ms)" -lt $deadline ] || fail "no change event arrived, or they never stopped: $STATUS"
    ask
    kept || fail "a new window title and text dropped the tree: $STATUS"
    if [ "$(judged)" -gt "$before" ] && [ "$(judged)" = "$last" ]; then
        same=$((same + 1))
    else
        same=0
    fi
    last=$(judged)
    sleep 0.2
done
pass "the tree is kept while the window's title and text change ($(($(judged) - before)) events)"

for change in USR2:renamed HUP:added; do
    ask read
    kept || fail "the tree read again is not kept: $STATUS"
    kill -"${change%%:*}" "$gtk_pid"
    wait_for 10 grep -q "^${change#*:} " "$ARTIFACTS/fixture-gtk.out" ||
        fail "the fixture did not say ${change#*:}"
    deadline=$(($(_lib_now_ms) + 30000))
    ask
    while kept; do
        [ "$(_lib_now_ms)" -lt $deadline ] || fail "the tree lasted a menu item ${change#*:}: $STATUS"
        sleep 0.1
        ask
    done
    pass "a menu item ${change#*:} drops the tree"
done
# The probe ends when its input does.
exec 3>&-
wait_exit "$probe_pid" 30 || fail "the probe did not end with its input"
[ "$EXIT_STATUS" = 0 ] || fail "the probe ended with status $EXIT_STATUS"
