#!/usr/bin/env bash
# Key labels come from the X keyboard layout in use: the same key positions
# read Z/Q on a US layout, Y/Z on a German one and Q/A on a French one, both in
# a process started after the change and in one that keeps running while the
# layout changes under it.
. "$(dirname "$0")/lib.sh"
require_desktop

# Labels printed by a fresh process for the given codes, on one line.
labels_of() {
    "$TROVIX" key-label "$@" 2>>"$ARTIFACTS/key-label.err" | paste -sd ' '
}

check_fresh() {
    local layout=$1 codes=$2 expected=$3 actual
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    # shellcheck disable=SC2086
    actual=$(labels_of $codes)
    [ "$actual" = "$expected" ] ||
        fail "layout $layout: codes $codes read '$actual', expected '$expected'"
    pass "layout $layout: codes $codes read '$expected'"
}

check_fresh us "6 12" "Z Q"
check_fresh de "6 16" "Y Z"
check_fresh fr "0 12" "Q A"

# One process follows the changes: it answers each line of codes with the
# labels of the layout at that moment. The layout change reaches it as X events,
# so a few asks may still see the previous layout.
setxkbmap us
coproc FOLLOWER { exec "$TROVIX" key-label --follow 2>>"$ARTIFACTS/follower.err"; }
_lib_started+=("$FOLLOWER_PID follower")

ask_follower() {
    local codes=$1 expected=$2 answer line count
    echo "$codes" >&"${FOLLOWER[1]}" || return 1
    answer=""
    for count in $codes; do
        read -r -t 10 -u "${FOLLOWER[0]}" line || return 1
        answer="${answer:+$answer }$line"
    done
    LAST_ANSWER=$answer
    [ "$answer" = "$expected" ]
}

check_follower() {
    local layout=$1 codes=$2 expected=$3
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    LAST_ANSWER=""
    wait_for 10 ask_follower "$codes" "$expected" ||
        fail "running process, layout $layout: codes $codes read '$LAST_ANSWER', expected '$expected'"
    pass "running process, layout $layout: codes $codes read '$expected'"
}

check_follower us "6 12" "Z Q"
check_follower de "6 16" "Y Z"
check_follower fr "0 12" "Q A"
check_follower us "0 6 12 16" "A Z Q Y"

eval "exec ${FOLLOWER[1]}>&-"
wait_exit "$FOLLOWER_PID" 10 || fail "the following process did not end with its input"
[ "$EXIT_STATUS" = 0 ] || fail "the following process ended with status $EXIT_STATUS"
pass "the following process ends with its input"
