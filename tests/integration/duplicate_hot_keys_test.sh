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

# KDE's global shortcut service (kglobalaccel5, started by the session bus on
# the first call) grabs on this X server: a key typed here comes back as the
# hot key's press, and the shortcut goes again.
kde_binary=$TROVIX_BUILD_DIR/tests/input/input_kde_global_shortcuts_test
[ -x "$kde_binary" ] || fail "$kde_binary is not built"
if [ -e /usr/share/dbus-1/services/org.kde.kglobalaccel.service ]; then
    QT_QPA_PLATFORM=xcb TROVIX_TEST_KGLOBALACCEL=1 "$kde_binary" >"$ARTIFACTS/kde.log" 2>&1 || {
        sed 's/^/    /' "$ARTIFACTS/kde.log" >&2
        fail "the KDE global shortcut cases failed"
    }
    grep -q '^PASS   : .*aTypedKeyComesBackAsThePress' "$ARTIFACTS/kde.log" ||
        fail "the KDE global shortcut case did not run"
    pass "a key bound in KDE's global shortcut service comes back as the hot key's press"
else
    echo "KDE's global shortcut service is not installed: its case is left out"
fi
