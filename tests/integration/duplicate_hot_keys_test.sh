#!/usr/bin/env bash
# Two hot key registrations the X server cannot tell apart: the cases of the
# unit test run against the real grabs, with a second X connection playing
# another program.
. "$(dirname "$0")/lib.sh"
require_desktop

test_binary=$TROVIX_BUILD_DIR/tests/input/input_duplicate_hot_keys_test
[ -x "$test_binary" ] || fail "$test_binary is not built"
QT_QPA_PLATFORM=xcb TROVIX_TEST_X11=1 "$test_binary" >"$ARTIFACTS/cases.log" 2>&1 || {
    sed 's/^/    /' "$ARTIFACTS/cases.log" >&2
    fail "the duplicate hot key cases failed against the X server"
}
grep -q '^PASS   : .*x11: same combination' "$ARTIFACTS/cases.log" ||
    fail "the X11 cases did not run"
pass "duplicate hot keys are refused by the X11 and memory services alike"
