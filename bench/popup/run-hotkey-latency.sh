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
exec "$(dirname "$0")/run-on-desktop.sh" hotkey_latency_round.sh "${1:-12}"
