#!/usr/bin/env bash
# Hot key -> pop-up mapped on the X11 virtual desktop, with Trovix reading
# menu bars ahead and without ("QXMenuReadAheadDisabled"), side by side in
# one run: for the GTK 3, GTK 2 and Qt fixtures and the real applications
# that are installed (mousepad, geany, qpdfview, kwrite, featherpad, kate,
# lowriter), each activated 200 ms before the hot key; for the GTK 3 and Qt
# fixtures also 0 ms after activation with their menus just changed (the
# read ahead not done); then the all-applications hot key with all of them
# running. Prints a table of
# medians (ms).
#   bench/popup/run-hotkey-latency.sh [ROUNDS]      (after scripts/build)
set -euo pipefail
cd "$(dirname "$0")/../.."
export TROVIX_BENCH_ROUNDS=${1:-12}
build=${BUILD_DIR:-build}
export TROVIX_BUILD_DIR=$PWD/$build TROVIX_SOURCE_DIR=$PWD
export TROVIX=$TROVIX_BUILD_DIR/Trovix.app/Contents/MacOS/trovix
export TROVIX_ARTIFACTS=$TROVIX_BUILD_DIR/bench-artifacts
scripts/virtual-desktop run -- "$PWD/bench/popup/hotkey_latency_round.sh"
