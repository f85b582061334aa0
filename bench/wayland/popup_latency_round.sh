#!/usr/bin/env bash
# One desktop's half of run-popup-latency.sh, run inside the desktop:
# `trovix popup ARG...` sent to the running Trovix, to its menu mapped, with
# the GTK fixture in front (a Wayland client in a Wayland session, given the
# keyboard focus by the tests' keyboard). Prints "median_ms M" and every
# round's time.
#   popup_latency_round.sh ROUNDS [ARG...]
if [ -n "${TROVIX_COMPOSITOR:-}" ]; then
    . "$TROVIX_SOURCE_DIR/tests/wayland/lib.sh"
else
    . "$TROVIX_SOURCE_DIR/tests/integration/lib.sh"
fi
rounds=${1:-7}
shift

for setting in QXWaylandNoticeShown "Stealth Mode" "Support Accessory Applications" \
    "Support Accessory Applications: All Applications"; do
    "$TROVIX" defaults write "$setting" -bool YES >/dev/null || fail "cannot write the setting $setting"
done
if [ -n "${TROVIX_COMPOSITOR:-}" ]; then
    export GDK_BACKEND=wayland
    start_pointer
    start_keyboard
    # Faceless, so that its preferences window does not open at its start
    # (no tray on these desktops) and take the focus from the fixture.
    "$TROVIX" defaults write "Application Mode" -int 2 >/dev/null
fi
start_app fixture-gtk \
    "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-gtk" "$TROVIX_SOURCE_DIR/tests/fixtures/menu.json"
gtk_pid=$APP_PID
wait_for_bus "$gtk_pid" "the GTK fixture"
start_trovix
wait_for 30 eval "'$TROVIX' popup --print --depth 0 >/dev/null 2>&1" || fail "Trovix did not start"
if [ -n "${TROVIX_COMPOSITOR:-}" ]; then
    # The fixture gets the focus; GNOME Shell starts in its overview, which
    # window cycling closes.
    case $TROVIX_COMPOSITOR in
    sway) swaymsg "[pid=$gtk_pid] focus" >/dev/null || fail "sway cannot focus the GTK fixture" ;;
    kwin)
        kwin_script "workspace.clientList().forEach(function (client) {
            if (client.pid === $gtk_pid) { workspace.activeClient = client; } });" ||
            fail "KWin cannot focus the GTK fixture"
        ;;
    *) press_keys 56 1 ;;
    esac
    move_pointer 300 200
else
    bring_to_front "$gtk_pid"
    xdotool mousemove 300 200
fi

# Trovix's pop-up: a visible override-redirect window of its process
# standing on the root window (its tray icon stands in the tray's).
mapped() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null); do
        xwininfo -tree -id "$window" 2>/dev/null | grep -q "Parent window id: .*(the root window)" &&
            xwininfo -id "$window" 2>/dev/null | grep -q "Override Redirect State: yes" && return 0
    done
    return 1
}

wait_for 10 eval "'$TROVIX' popup --print --depth 0 2>/dev/null | grep -q '^  Edit'" ||
    fail "Trovix does not find the GTK fixture in front"

times=()
for ((round = 0; round <= rounds; round++)); do
    started=${EPOCHREALTIME/[.,]/}
    "$TROVIX" popup "$@" || fail "trovix popup $* failed"
    until mapped; do
        [ $((${EPOCHREALTIME/[.,]/} - started)) -gt 10000000 ] && fail "no pop-up within 10 s"
    done
    elapsed=$(((${EPOCHREALTIME/[.,]/} - started) / 1000))
    # The first round warms caches and the probe's connection up.
    [ "$round" -gt 0 ] && times+=("$elapsed")
    # The menu takes the keyboard a moment after it is mapped: an Escape sent
    # at once may go to the fixture.
    sleep 0.2
    xdotool key Escape
    wait_for 10 eval '! mapped' || fail "the pop-up did not close"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print "median_ms", t[int((NR + 1) / 2)] }'
echo "rounds_ms ${times[*]}"
stop_trovix
