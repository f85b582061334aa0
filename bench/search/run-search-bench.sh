#!/usr/bin/env bash
# Starts the GTK and Qt fixture applications and mousepad (a GTK 3 editor with
# a classic menu bar, when installed) and times reading their whole menu
# trees, then the ranking per keystroke. Run it inside the private desktop:
#   scripts/virtual-desktop run -- bench/search/run-search-bench.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(cd "${1:?usage: run-search-bench.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-100}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
[ -n "${TROVIX_DESKTOP_DIR:-}" ] ||
    { echo "run this inside scripts/virtual-desktop run -- $0" >&2; exit 2; }

description=$source_dir/tests/fixtures/menu.json
logs=$TROVIX_DESKTOP_DIR/logs
bench=$build/bench/search/trovix-bench-search
trovix=$(find "$build" -path '*Contents/MacOS/trovix' -type f | head -n 1)
pids=()
"$build/tests/fixtures/trovix-fixture-gtk" "$description" >"$logs/bench-gtk.log" 2>&1 &
pids+=($!)
"$build/tests/fixtures/trovix-fixture-qt" "$description" >"$logs/bench-qt.log" 2>&1 &
pids+=($!)
if command -v mousepad >/dev/null; then
    mousepad --disable-server >"$logs/bench-mousepad.log" 2>&1 &
    pids+=($!)
fi
trap 'kill "${pids[@]}" 2>/dev/null' EXIT

for pid in "${pids[@]}"; do
    for _ in $(seq 60); do
        "$trovix" dump-menu --pid "$pid" --depth 1 >/dev/null 2>&1 && break
        sleep 0.5
    done
    echo "== $(cat "/proc/$pid/comm") (pid $pid)"
    "$bench" --pid "$pid" --rounds "$rounds"
done
echo "== ranking"
"$bench" --rounds "$rounds"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
