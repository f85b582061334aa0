#!/usr/bin/env bash
# The demo desktop shared over VNC, as `scripts/run` starts it without a
# display: within 60 s it prints an address on 127.0.0.1 and a one-time
# password; the password's file is gone once the server has read it; a VNC
# client with that password sees the desktop with the demo application on it,
# one with another password is refused; the server listens on loopback only;
# Ctrl-C ends every process the desktop started.
# It starts its own desktop, so it is not run inside one.
. "$TROVIX_SOURCE_DIR/tests/integration/lib.sh"

for tool in x11vnc vncsnapshot; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool not found: run scripts/install-deps"
done

# Each process of the desktop carries its folder in TROVIX_DESKTOP_DIR.
desktop_processes() {
    grep -lzxF "TROVIX_DESKTOP_DIR=$1" /proc/[0-9]*/environ 2>/dev/null |
        sed 's|^/proc/\([0-9]*\)/environ$|\1|'
}

started_ms=$(_lib_now_ms)
# A process group of its own, as a command started from a terminal has, so
# that Ctrl-C can be sent to all of it.
set -m
"$TROVIX_SOURCE_DIR/scripts/virtual-desktop" run --demo -- \
    "$TROVIX_SOURCE_DIR/scripts/share-desktop" "$TROVIX" \
    </dev/null >"$ARTIFACTS/run.out" 2>"$ARTIFACTS/run.err" &
session=$!
set +m
_lib_started+=("$session desktop")

wait_for 60 grep -q '^    password ' "$ARTIFACTS/run.out" ||
    fail "no VNC address and password within 60 s: $(cat "$ARTIFACTS/run.out" "$ARTIFACTS/run.err")"
log "address and password printed $(($(_lib_now_ms) - started_ms)) ms after the start"
port=$(sed -n 's/^    address   127\.0\.0\.1::\([0-9][0-9]*\) .*/\1/p' "$ARTIFACTS/run.out")
password=$(sed -n 's/^    password  \([A-Za-z0-9]\{8\}\) .*/\1/p' "$ARTIFACTS/run.out")
display=$(sed -n 's/.*private desktop (\(:[0-9][0-9]*\),.*/\1/p' "$ARTIFACTS/run.out")
[ -n "$port" ] && [ -n "$password" ] && [ -n "$display" ] ||
    fail "cannot read the address, password and display from: $(cat "$ARTIFACTS/run.out")"
pass "VNC on 127.0.0.1::$port for display $display"

listeners=$(ss -ltnH "sport = :$port" | awk '{ print $4 }')
[ -n "$listeners" ] || fail "nothing listens on port $port"
grep -qv '^127\.0\.0\.1:' <<<"$listeners" && fail "port $port is reachable beyond loopback: $listeners"
pass "only 127.0.0.1 listens on port $port"

desktop_dir=""
for environ in /proc/[0-9]*/environ; do
    variables=$(tr '\0' '\n' <"$environ" 2>/dev/null) || continue
    grep -qxF "DISPLAY=$display" <<<"$variables" || continue
    desktop_dir=$(sed -n 's/^TROVIX_DESKTOP_DIR=//p' <<<"$variables")
    [ -n "$desktop_dir" ] && break
done
[ -n "$desktop_dir" ] || fail "cannot find the processes of display $display"
[ -e "$desktop_dir/vnc-password" ] && fail "the password file is left in $desktop_dir after x11vnc read it"
mapfile -t processes < <(desktop_processes "$desktop_dir")
grep -qx x11vnc < <(for pid in "${processes[@]}"; do cat "/proc/$pid/comm" 2>/dev/null; done) ||
    fail "x11vnc is not among the desktop's processes"

# --- A VNC client ---------------------------------------------------------------
x11vnc -storepasswd "$password" "$ARTIFACTS/passwd" >/dev/null 2>&1 || fail "cannot store the password"
wrong_password=${password:1}x
x11vnc -storepasswd "$wrong_password" "$ARTIFACTS/wrong-passwd" >/dev/null 2>&1 ||
    fail "cannot store the wrong password"
snapshot() {
    timeout 20 vncsnapshot -quiet -passwd "$1" "127.0.0.1::$port" "$2" >>"$ARTIFACTS/vncsnapshot.log" 2>&1
}
picture=$ARTIFACTS/vnc.jpg
# The demo application's window fills a quarter of the screen; the rest is
# the plain background.
background_share() {
    convert "$picture" -fuzz 6% -fill black -opaque '#4a6785' -fill white +opaque black \
        -format '%[fx:1-mean]' info:
}
shows_demo() {
    snapshot "$ARTIFACTS/passwd" "$picture" || return 1
    awk -v share="$(background_share)" 'BEGIN { exit !(share > 0.3 && share < 0.85) }'
}
wait_for 30 shows_demo ||
    fail "the VNC picture shows no demo application (background share $(background_share 2>&1); see $picture)"
[ "$(identify -format '%wx%h' "$picture")" = 1280x800 ] ||
    fail "the VNC picture is $(identify -format '%wx%h' "$picture"), not the desktop's 1280x800"
pass "vncsnapshot with the printed password shows the desktop with the demo application ($picture)"

snapshot "$ARTIFACTS/wrong-passwd" "$ARTIFACTS/refused.jpg" &&
    fail "vncsnapshot with a wrong password got a picture"
pass "a wrong password is refused"

# --- Ctrl-C ---------------------------------------------------------------------
kill -INT -- "-$session" || fail "cannot send Ctrl-C to the desktop"
wait_exit "$session" 30 || fail "the desktop still runs 30 s after Ctrl-C"
left=()
for pid in "${processes[@]}"; do
    running "$pid" && left+=("$pid $(cat "/proc/$pid/comm" 2>/dev/null)")
done
mapfile -t later < <(desktop_processes "$desktop_dir")
[ ${#left[@]} -eq 0 ] && [ ${#later[@]} -eq 0 ] ||
    fail "processes left after Ctrl-C: ${left[*]} ${later[*]}"
[ -e "$desktop_dir" ] && fail "the desktop's folder $desktop_dir is left after Ctrl-C"
pass "Ctrl-C ended all ${#processes[@]} processes of the desktop (status $EXIT_STATUS)"
