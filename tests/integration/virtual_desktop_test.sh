#!/usr/bin/env bash
# scripts/virtual-desktop: a complete private session around a command (X
# server, window manager, tray host, accessibility on), the command's exit
# status passed through, the caller's session and settings left alone, and no
# process left behind however the command ends.
. "$(dirname "$0")/lib.sh"

desktop="${TROVIX_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}/scripts/virtual-desktop"
work=$(mktemp -d)
trap 'rm -rf "$work"; _lib_cleanup' EXIT

# Prints "pid command line" of every process still belonging to the session
# whose temporary folder was $1: marked in its environment or naming the
# folder on its command line.
leftovers() {
    local dir=$1 pid
    local -a pids
    mapfile -t pids < <({
        grep -lzxF "TROVIX_DESKTOP_DIR=$dir" /proc/[0-9]*/environ
        grep -lF "$dir" /proc/[0-9]*/cmdline
    } 2>/dev/null | sed 's|^/proc/\([0-9]*\)/.*|\1|' | sort -u)
    for pid in ${pids[@]+"${pids[@]}"}; do
        [ "$pid" = $$ ] && continue
        # The searches themselves matched and have ended since.
        running "$pid" && echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
    done
}

expect_nothing_left() {
    local dir=$1 display=$2 left
    [ -n "$dir" ] || fail "the session's folder is unknown"
    left=$(leftovers "$dir")
    [ -z "$left" ] || fail "processes left behind by $dir:"$'\n'"$left"
    [ ! -e "$dir" ] || fail "$dir was not removed"
    [ ! -e "/tmp/.X${display#:}-lock" ] || fail "the lock of display $display was left behind"
}

fact() {
    sed -n "s/^$1=//p" "$work/facts"
}

# --- A full session, seen from inside ---------------------------------------
cat >"$work/probe" <<'PROBE'
a11y() { dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus "$@"; }
{
    echo "display=$DISPLAY"
    echo "dir=$TROVIX_DESKTOP_DIR"
    echo "config=$XDG_CONFIG_HOME"
    echo "bus=$DBUS_SESSION_BUS_ADDRESS"
    echo "runtime_mode=$(stat -c %a "$XDG_RUNTIME_DIR")"
    echo "geometry=$(xdpyinfo | awk '/dimensions:/ { print $2 }')"
    echo "depth=$(xdpyinfo | awk '/depth of root window:/ { print $5 }')"
    echo "enabled=$(a11y org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:IsEnabled | awk '{ print $NF }')"
    echo "address=$(a11y org.a11y.Bus.GetAddress | sed 's/^ *//')"
    echo "root_property=$(xprop -root AT_SPI_BUS | sed -n 's/^AT_SPI_BUS(STRING) = "\(.*\)"$/\1/p')"
    echo "registry=$(dbus-send --bus="$(a11y org.a11y.Bus.GetAddress | sed 's/^ *//')" --print-reply=literal --dest=org.a11y.atspi.Registry \
        /org/a11y/atspi/accessible/root org.freedesktop.DBus.Properties.Get \
        string:org.a11y.atspi.Accessible string:ChildCount | awk '{ print $NF }')"
    echo "qt_accessibility=$QT_ACCESSIBILITY"
    echo "gtk_modules=$GTK_MODULES"
    echo "wm_owner=$("$DESKTOP" selection-owner WM_S0)"
    echo "wm_check=$(xprop -root _NET_SUPPORTING_WM_CHECK | awk '{ print $NF }')"
    echo "tray_owner=$("$DESKTOP" selection-owner _NET_SYSTEM_TRAY_S0)"
} >"$FACTS"
PROBE
mkdir "$work/user-config"
started=$(_lib_now_ms)
DISPLAY=:4242 XDG_CONFIG_HOME="$work/user-config" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/user-bus" \
    DESKTOP="$desktop" FACTS="$work/facts" "$desktop" run -- sh "$work/probe"
status=$?
log "a session around a short command took $(($(_lib_now_ms) - started)) ms"
[ $status = 0 ] || fail "a session around a succeeding command exited with $status"

display=$(fact display)
[ -n "$display" ] && [ "$display" != :4242 ] || fail "DISPLAY inside is '$display', not a private one"
[[ $(fact bus) == *"$(fact dir)"* ]] || fail "the session bus $(fact bus) is not the private one"
[[ $(fact config) == "$(fact dir)"/* ]] || fail "XDG_CONFIG_HOME inside is $(fact config)"
[ -z "$(ls -A "$work/user-config")" ] || fail "the session wrote into the caller's XDG_CONFIG_HOME"
[ "$(fact runtime_mode)" = 700 ] || fail "XDG_RUNTIME_DIR has mode $(fact runtime_mode)"
[ "$(fact geometry)" = 1280x800 ] && [ "$(fact depth)" = 24 ] ||
    fail "screen $(fact geometry) depth $(fact depth), expected 1280x800 depth 24"
pass "private X server, session bus, configuration and runtime folders"

[ "$(fact enabled)" = true ] || fail "org.a11y.Status IsEnabled reads '$(fact enabled)'"
[ -n "$(fact address)" ] && [ "$(fact root_property)" = "$(fact address)" ] ||
    fail "AT_SPI_BUS root property '$(fact root_property)' is not the bus address '$(fact address)'"
[ -n "$(fact registry)" ] || fail "the accessibility registry does not answer on the AT-SPI bus"
[ "$(fact qt_accessibility)" = 1 ] && [ "$(fact gtk_modules)" = gail:atk-bridge ] ||
    fail "toolkit accessibility variables: QT_ACCESSIBILITY=$(fact qt_accessibility) GTK_MODULES=$(fact gtk_modules)"
pass "accessibility on, AT-SPI bus published for Qt 5 and reachable"

[ "$(fact wm_owner)" != 0x0 ] && [[ $(fact wm_check) == 0x* ]] ||
    fail "no window manager (WM_S0 owner $(fact wm_owner), _NET_SUPPORTING_WM_CHECK $(fact wm_check))"
[ -n "$(fact tray_owner)" ] && [ "$(fact tray_owner)" != 0x0 ] || fail "no tray host owns _NET_SYSTEM_TRAY_S0"
pass "window manager and tray host running"

expect_nothing_left "$(fact dir)" "$display"
pass "nothing left after the session"

# --- Exit statuses -------------------------------------------------------------
"$desktop" run -- sh -c 'exit 7'
status=$?
[ $status = 7 ] || fail "a command exiting with 7 gave $status"
"$desktop" run -- trovix-no-such-command 2>/dev/null
status=$?
[ $status = 127 ] || fail "a missing command gave $status, expected 127"
pass "the command's exit status is passed through"

# --- Whatever the command leaves running ends with the session -----------------
"$desktop" run -- sh -c 'sleep 300 & sleep 301 & echo "$TROVIX_DESKTOP_DIR" >"$0"' "$work/orphans"
[ -s "$work/orphans" ] || fail "the command did not run"
expect_nothing_left "$(cat "$work/orphans")" ""
pass "the command's orphaned children end with the session"

# --- Stopped from outside ------------------------------------------------------
"$desktop" run -- sh -c 'echo "$TROVIX_DESKTOP_DIR $DISPLAY" >"$0.tmp" && mv "$0.tmp" "$0"; exec sleep 300' \
    "$work/stopped" &
runner=$!
wait_for 60 test -s "$work/stopped" || fail "the session did not start within 60 s"
kill -TERM $runner
wait_exit $runner 30 || fail "the session still runs 30 s after SIGTERM"
[ "$EXIT_STATUS" = 143 ] || fail "a session stopped by SIGTERM exited with $EXIT_STATUS, expected 143"
read -r stopped_dir stopped_display <"$work/stopped"
expect_nothing_left "$stopped_dir" "$stopped_display"
pass "SIGTERM tears the whole session down"

# --- A part that fails to start ------------------------------------------------
mkdir "$work/bin"
printf '#!/bin/sh\necho "no tray today" >&2\nexit 1\n' >"$work/bin/trayer"
chmod +x "$work/bin/trayer"
PATH="$work/bin:$PATH" "$desktop" run -- sh -c 'echo "$TROVIX_DESKTOP_DIR" >"$0"; exit 5' "$work/broken" \
    2>"$work/broken.err"
status=$?
[ $status = 125 ] || fail "a session whose tray host fails exited with $status, expected 125"
[ ! -e "$work/broken" ] || fail "the command ran although the tray host failed"
grep -q "trayer" "$work/broken.err" && grep -q "no tray today" "$work/broken.err" ||
    fail "the failure does not name the tray host and show its log: $(cat "$work/broken.err")"
PATH="$work/bin:$PATH" "$desktop" run --keep-going -- sh -c 'echo "$TROVIX_DESKTOP_DIR" >"$0"; exit 5' \
    "$work/broken" 2>/dev/null
status=$?
[ $status = 5 ] || fail "with --keep-going the command should run and give 5, not $status"
expect_nothing_left "$(cat "$work/broken")" ""
pass "a failing part stops the session with its log, unless --keep-going"

# --- A session killed outright is cleaned up by the next one -------------------
"$desktop" run -- sh -c 'echo "$TROVIX_DESKTOP_DIR $DISPLAY" >"$0.tmp" && mv "$0.tmp" "$0"; exec sleep 300' \
    "$work/killed" &
runner=$!
wait_for 60 test -s "$work/killed" || fail "the session did not start within 60 s"
kill -KILL $runner
wait $runner 2>/dev/null
read -r killed_dir killed_display <"$work/killed"
[ -n "$(leftovers "$killed_dir")" ] || fail "nothing of a session survived SIGKILL of its script"
"$desktop" run -- true || fail "a session after an abandoned one failed"
expect_nothing_left "$killed_dir" "$killed_display"
pass "the next session ends what a killed one left behind"

# --- A session inside a session leaves the outer one alone ---------------------
"$desktop" run -- sh -c '
    "$0" run -- sh -c "echo \$DISPLAY" >"$1" || exit 1
    [ "$(cat "$1")" != "$DISPLAY" ] || exit 2
    xdpyinfo >/dev/null && xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null' "$desktop" "$work/inner"
status=$?
[ $status = 0 ] || fail "nested sessions: status $status (1 inner failed, 2 same display, other: outer broken)"
pass "a nested session gets its own display and leaves the outer session working"

# --- The caller may keep its configuration folder ------------------------------
XDG_CONFIG_HOME="$work/user-config" TROVIX_KEEP_CONFIG=1 \
    "$desktop" run -- sh -c 'echo "$XDG_CONFIG_HOME" >"$0"' "$work/kept"
[ "$(cat "$work/kept")" = "$work/user-config" ] || fail "TROVIX_KEEP_CONFIG=1 did not keep XDG_CONFIG_HOME"
pass "TROVIX_KEEP_CONFIG=1 keeps the caller's configuration folder"
