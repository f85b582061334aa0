#!/usr/bin/env bash
# Starts the GTK and Qt fixture applications, the GTK fixture once more with a
# generated 600-item menu bar, mousepad (a GTK 3 editor with a classic menu
# bar) and featherpad (a Qt editor) when installed, and times reading their
# whole menu trees (blocking, without blocking, and the bare requests they
# stand on), then the ranking per keystroke. Run it inside the private desktop:
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
# The build's own program (a package the tests unpacked holds another copy).
trovix=$build/Trovix.app/Contents/MacOS/trovix
[ -x "$trovix" ] || { echo "no $trovix: build first" >&2; exit 2; }
# 20 menus of 30 items each: 20 in the menu, 10 in two submenus.
big=$logs/bench-menu-600.json
jq -n '{name: "Big", menus: [range(20) as $m | {title: "Menu \($m)", items: [range(22) as $i |
    if $i % 11 == 10 then {title: "Sub \($m).\($i)", items: [range(5) as $k | {title: "Deep \($m).\($i).\($k)"}]}
    else {title: "Item \($m).\($i)", shortcut: (if $i < 9 then "Ctrl+Alt+\($i)" else "" end)} end]}]}' >"$big"
pids=()
"$build/tests/fixtures/trovix-fixture-gtk" "$description" >"$logs/bench-gtk.log" 2>&1 &
pids+=($!)
"$build/tests/fixtures/trovix-fixture-gtk" "$big" >"$logs/bench-gtk-600.log" 2>&1 &
pids+=($!)
"$build/tests/fixtures/trovix-fixture-qt" "$description" >"$logs/bench-qt.log" 2>&1 &
pids+=($!)
if command -v mousepad >/dev/null; then
    mousepad --disable-server >"$logs/bench-mousepad.log" 2>&1 &
    pids+=($!)
fi
if command -v featherpad >/dev/null; then
    featherpad >"$logs/bench-featherpad.log" 2>&1 &
    pids+=($!)
fi
trap 'kill "${pids[@]}" 2>/dev/null' EXIT

for pid in "${pids[@]}"; do
    for _ in $(seq 60); do
        "$trovix" dump-menu --pid "$pid" --depth 1 >/dev/null 2>&1 && break
        sleep 0.5
    done
    echo "== $(tr '\0' ' ' <"/proc/$pid/cmdline" | cut -c1-100) (pid $pid)"
    "$bench" --pid "$pid" --rounds "$rounds"
done
echo "== ranking"
"$bench" --rounds "$rounds"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
