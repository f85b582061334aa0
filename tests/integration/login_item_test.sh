#!/usr/bin/env bash
# `trovix login-item on|off|status` switches the autostart entry in temporary
# XDG folders, reports what is in effect and answers with its exit status.
# Needs no display.
. "$(dirname "$0")/lib.sh"

command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed"

work=$ARTIFACTS/xdg
rm -rf "$work"
export XDG_CONFIG_HOME=$work/home XDG_CONFIG_DIRS=$work/system
entry=$XDG_CONFIG_HOME/autostart/com.quirkworks.Trovix.desktop

status_is() {
    local status
    status=$("$TROVIX" login-item status 2>"$ARTIFACTS/status.err") || fail "status failed"
    [ "$status" = "$1" ] || fail "status is '$status', expected '$1'"
}

valid() {
    desktop-file-validate "$1" >"$ARTIFACTS/validate.out" 2>&1 ||
        fail "$1 is not a valid desktop entry: $(cat "$ARTIFACTS/validate.out")"
    ! grep -q 'error:' "$ARTIFACTS/validate.out" || fail "$1: $(cat "$ARTIFACTS/validate.out")"
}

status_is off
"$TROVIX" login-item on || fail "login-item on failed"
status_is on
valid "$entry"
program=$(readlink -f "$TROVIX")
grep -qxF "Exec=\"$program\"" "$entry" || fail "Exec does not run $program: $(cat "$entry")"
grep -qxF "TryExec=$program" "$entry" || fail "TryExec is not $program"
pass "switched on"

"$TROVIX" login-item off || fail "login-item off failed"
[ ! -e "$entry" ] || fail "the entry is still there"
status_is off
"$TROVIX" login-item off || fail "switching off twice failed"
pass "switched off"

# A file in place of the folder: reported, nothing crashes.
rm -rf "$XDG_CONFIG_HOME/autostart"
mkdir -p "$XDG_CONFIG_HOME"
: >"$XDG_CONFIG_HOME/autostart"
"$TROVIX" login-item on 2>"$ARTIFACTS/on.err" && fail "switching on without a folder succeeded"
[ $? -eq 1 ] || fail "switching on without a folder did not fail cleanly"
grep -q 'could not' "$ARTIFACTS/on.err" || fail "no message: $(cat "$ARTIFACTS/on.err")"
pass "failure reported"

"$TROVIX" login-item maybe 2>/dev/null && fail "an unknown word was accepted"
"$TROVIX" login-item 2>/dev/null && fail "a missing word was accepted"
pass "usage"
