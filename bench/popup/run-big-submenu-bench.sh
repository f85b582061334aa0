#!/usr/bin/env bash
# Whether a big submenu opens as fast as a small one: two GTK fixture
# applications with the same menu bar, one with a 200-item submenu in File,
# the other with a 20 000-item one. For each, with Trovix reading menu bars
# ahead and without ("QXMenuReadAheadDisabled"): the hot key until the
# pop-up is mapped, and the key that opens the big submenu until its first
# screenful is mapped (trovix-bench-hotkey, XTest and MapNotify); and a new
# process printing the top level (`trovix popup --print --depth 1`).
# Prints medians in ms.
#   bench/popup/run-big-submenu-bench.sh [ROUNDS]      (after scripts/build)
exec "$(dirname "$0")/run-on-desktop.sh" big_submenu_round.sh "${1:-10}"
