#!/usr/bin/env bash
# Starts the GTK and Qt fixture applications with a generated 600-item menu
# bar (and mousepad and featherpad when installed) and times the first
# results of the pop-up's search for each. Run it inside the private desktop:
#   scripts/virtual-desktop run -- bench/popup_search/run-popup-search-bench.sh BUILD_DIR [ROUNDS]
set -euo pipefail

build=$(cd "${1:?usage: run-popup-search-bench.sh BUILD_DIR [ROUNDS]}" && pwd)
rounds=${2:-20}
[ -n "${TROVIX_DESKTOP_DIR:-}" ] ||
    { echo "run this inside scripts/virtual-desktop run -- $0" >&2; exit 2; }

logs=$TROVIX_DESKTOP_DIR/logs
bench=$build/bench/popup_search/trovix-bench-popup-search
# The build's own program (a package the tests unpacked holds another copy).
trovix=$build/Trovix.app/Contents/MacOS/trovix
[ -x "$trovix" ] || { echo "no $trovix: build first" >&2; exit 2; }
description=$TROVIX_DESKTOP_DIR/menu-600.json
# 12 menus of 50 items: 600 items, as many as a large editor's menu bar.
python3 - "$description" <<'PY'
import json, sys
words = ["New", "Open", "Save", "Window", "Document", "Format", "Insert", "Selection",
         "View", "Recent", "Export", "Print", "Find", "Replace", "Zoom"]
menus = []
for m in range(12):
    items = [{"title": "%s %s %d" % (words[(m + i) % len(words)], words[(i * 7) % len(words)], i)}
             for i in range(50)]
    menus.append({"title": "Menu %d" % m, "items": items})
json.dump({"name": "Six Hundred", "menus": menus}, open(sys.argv[1], "w"))
PY

pids=()
"$build/tests/fixtures/trovix-fixture-gtk" "$description" >"$logs/bench-gtk.log" 2>&1 &
pids+=($!)
"$build/tests/fixtures/trovix-fixture-qt" "$description" >"$logs/bench-qt.log" 2>&1 &
pids+=($!)
for editor in mousepad featherpad; do
    if command -v "$editor" >/dev/null; then
        "$editor" >"$logs/bench-$editor.log" 2>&1 &
        pids+=($!)
    fi
done
trap 'kill "${pids[@]}" 2>/dev/null' EXIT

for pid in "${pids[@]}"; do
    for _ in $(seq 60); do
        "$trovix" dump-menu --pid "$pid" --depth 1 >/dev/null 2>&1 && break
        sleep 0.5
    done
    echo "== $(cat "/proc/$pid/comm") (pid $pid)"
    "$bench" --pid "$pid" --rounds "$rounds" --query s
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
