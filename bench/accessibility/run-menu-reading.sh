#!/usr/bin/env bash
# Starts the Qt and GTK fixture applications and mousepad (an ordinary GTK 3
# application with a classic menu bar) and runs the menu-reading benchmark on
# all three. Run it inside the private desktop:
#   scripts/virtual-desktop run -- bench/accessibility/run-menu-reading.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(cd "${1:?usage: run-menu-reading.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-9}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
[ -n "${TROVIX_DESKTOP_DIR:-}" ] ||
    { echo "run this inside scripts/virtual-desktop run -- $0" >&2; exit 2; }

description=$source_dir/tests/fixtures/menu.json
logs=$TROVIX_DESKTOP_DIR/logs
"$build/tests/fixtures/trovix-fixture-qt" "$description" >"$logs/bench-qt.log" 2>&1 &
qt=$!
"$build/tests/fixtures/trovix-fixture-gtk" "$description" >"$logs/bench-gtk.log" 2>&1 &
gtk=$!
# A new, empty document; --disable-server keeps it a process of its own.
mousepad --disable-server >"$logs/bench-mousepad.log" 2>&1 &
editor=$!
trap 'kill $qt $gtk $editor 2>/dev/null' EXIT

"$build/bench/accessibility/trovix-bench-menu-reading" --wait 60 --rounds "$rounds" \
    --pid "$gtk" --pid "$qt" --pid "$editor" "${@:3}"
