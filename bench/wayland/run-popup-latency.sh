#!/usr/bin/env bash
# Command -> menu mapped: `trovix popup` to the running Trovix until its menu
# is on screen, with the GTK fixture in front, on the X11 virtual desktop and
# on headless sway (the fixture a Wayland client, the pointer found by the
# probe window), one after the other in one run; then the same with
# `trovix popup --all`. Prints the medians and their ratios (target: sway at
# most 1.5 times X11).
#   bench/wayland/run-popup-latency.sh [ROUNDS]      (after scripts/build)
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-9}
build=${BUILD_DIR:-build}
export TROVIX_BUILD_DIR=$PWD/$build TROVIX_SOURCE_DIR=$PWD
export TROVIX=$TROVIX_BUILD_DIR/Trovix.app/Contents/MacOS/trovix
export TROVIX_ARTIFACTS=$TROVIX_BUILD_DIR/bench-artifacts
round=$PWD/bench/wayland/popup_latency_round.sh

# One kind of pop-up on both desktops: "popup" or "popup --all".
compare() {
    local x11 sway x s
    x11=$(scripts/virtual-desktop run -- "$round" "$rounds" "$@" 2>"$TROVIX_ARTIFACTS.x11.log" | grep _ms) || {
        tail -n 20 "$TROVIX_ARTIFACTS.x11.log" >&2
        exit 1
    }
    sway=$(scripts/wayland-desktop run --compositor sway -- "$round" "$rounds" "$@" 2>"$TROVIX_ARTIFACTS.sway.log" | grep _ms) || {
        tail -n 20 "$TROVIX_ARTIFACTS.sway.log" >&2
        exit 1
    }
    echo "== trovix popup $*"
    echo "X11 virtual desktop: $x11" | tr '\n' ' '
    echo
    echo "sway (Wayland GTK): $sway" | tr '\n' ' '
    echo
    x=$(awk '/median_ms/ { print $2 }' <<<"$x11")
    s=$(awk '/median_ms/ { print $2 }' <<<"$sway")
    awk -v x="$x" -v s="$s" 'BEGIN { printf "sway / X11: %.2f (target <= 1.50)\n", s / x }'
}

compare
compare --all
