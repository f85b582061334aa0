#!/usr/bin/env bash
# Command -> menu mapped: `trovix popup` to the running Trovix until its menu
# is on screen, with the GTK fixture in front, on the X11 virtual desktop and
# on headless sway, GNOME Shell and KWin (the fixture a Wayland client; the
# pointer found by the probe window, or from KWin), one after the other in one
# run; then the same with `trovix popup --all`. Prints the medians and their
# ratios to X11 (target: at most 1.5).
#   bench/wayland/run-popup-latency.sh [ROUNDS]      (after scripts/build)
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-9}
build=${BUILD_DIR:-build}
export TROVIX_BUILD_DIR=$PWD/$build TROVIX_SOURCE_DIR=$PWD
export TROVIX=$TROVIX_BUILD_DIR/Trovix.app/Contents/MacOS/trovix
export TROVIX_ARTIFACTS=$TROVIX_BUILD_DIR/bench-artifacts
round=$PWD/bench/wayland/popup_latency_round.sh

# One kind of pop-up on every desktop: "popup" or "popup --all".
compare() {
    local x11 x result compositor
    # Each desktop writes its artefacts in a folder of its own: the Wayland
    # sessions run as their own user, who could not replace the X11 run's.
    x11=$(TROVIX_ARTIFACTS=$TROVIX_ARTIFACTS/x11 scripts/virtual-desktop run -- "$round" "$rounds" "$@" \
        2>"$TROVIX_ARTIFACTS.x11.log" | grep _ms) || {
        tail -n 20 "$TROVIX_ARTIFACTS.x11.log" >&2
        exit 1
    }
    echo "== trovix popup $*"
    echo "X11 virtual desktop: $x11" | tr '\n' ' '
    echo
    x=$(awk '/median_ms/ { print $2 }' <<<"$x11")
    for compositor in sway gnome-shell kwin; do
        result=$(TROVIX_ARTIFACTS=$TROVIX_ARTIFACTS/$compositor \
            scripts/wayland-desktop run --compositor "$compositor" -- "$round" "$rounds" "$@" \
            2>"$TROVIX_ARTIFACTS.$compositor.log" | grep _ms) || {
            tail -n 20 "$TROVIX_ARTIFACTS.$compositor.log" >&2
            exit 1
        }
        echo "$compositor (Wayland GTK): $result" | tr '\n' ' '
        echo
        awk -v x="$x" -v s="$(awk '/median_ms/ { print $2 }' <<<"$result")" -v c="$compositor" \
            'BEGIN { printf "%s / X11: %.2f (target <= 1.50)\n", c, s / x }'
    done
}

compare
compare --all
