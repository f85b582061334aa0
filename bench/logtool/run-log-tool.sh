#!/usr/bin/env bash
# Writes ENTRIES log lines (default 100000) to the journal under a fresh tag,
# then times `trovix-log show` against `journalctl -o json` reading the same
# entries, twice over: the whole period since the writing began, and only the
# tagged entries (a predicate for trovix-log, a field match for journalctl).
# Prints the minimum and median seconds of ROUNDS runs (default 5) of each, the
# entries each wrote, and the ratio trovix-log / journalctl of the medians.
#   bench/logtool/run-log-tool.sh BUILD_DIR [ENTRIES] [ROUNDS]
# A journald is started for the run when none is running (needs root); see
# scripts/test-journald.
set -euo pipefail

build=$(cd "${1:?usage: run-log-tool.sh BUILD_DIR [ENTRIES] [ROUNDS]}" && pwd)
entries=${2:-100000}
rounds=${3:-5}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tool=$build/Trovix.app/Contents/MacOS/trovix-log
[ -x "$tool" ] || { echo "build trovix-log first: ninja -C $build trovix-log" >&2; exit 2; }

journald=$("$source_dir/scripts/test-journald" start)
trap '[ "$journald" = ours ] && "$source_dir/scripts/test-journald" stop' EXIT

tag=tlbench$$
since=$(($(date +%s) - 1))
echo "writing $entries entries tagged $tag"
seq -f "bench entry %06g: a line of ordinary length, as programs write them" "$entries" |
    logger -t "$tag"
deadline=$((SECONDS + 600))
until [ "$(journalctl -t "$tag" -o cat | wc -l)" -ge "$entries" ]; do
    [ $SECONDS -lt $deadline ] || { echo "the entries did not all reach the journal" >&2; exit 1; }
    sleep 0.5
done

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs COMMAND ROUNDS times with its output to a file; prints "min median
# entries" (seconds, and the number of entries in the last output).
measure() {
    local kind=$1
    shift
    local times=() start end
    for _ in $(seq "$rounds"); do
        start=$(now_ms)
        "$@" >"$out" 2>"$out.err" || { echo "failed: $* ($(cat "$out.err"))" >&2; return 1; }
        end=$(now_ms)
        times+=($((end - start)))
    done
    local count
    if [ "$kind" = array ]; then count=$(jq length "$out"); else count=$(wc -l <"$out"); fi
    printf '%s\n' "${times[@]}" | sort -n |
        awk -v n="$rounds" -v c="$count" '{ t[NR] = $1 } END {
            printf "%.3f %.3f %d\n", t[1] / 1000, t[int((n + 1) / 2)] / 1000, c }'
}

out=$(mktemp)
trap 'rm -f "$out" "$out.err"; [ "$journald" = ours ] && "$source_dir/scripts/test-journald" stop' EXIT
# trovix-log takes its period back from the moment it starts, which moves on
# from round to round: a minute's margin keeps the written entries inside it,
# and journalctl is given the same margin.
margin=60
last() { echo "$(($(date +%s) - since + margin))s"; }

report() {
    local what=$1 ours=$2 theirs=$3
    read -r our_min our_median our_count <<<"$ours"
    read -r their_min their_median their_count <<<"$theirs"
    printf '%-22s trovix-log %6.3f s min %6.3f s median (%d entries) | journalctl %6.3f s min %6.3f s median (%d entries) | ratio %.2f\n' \
        "$what" "$our_min" "$our_median" "$our_count" "$their_min" "$their_median" "$their_count" \
        "$(awk -v a="$our_median" -v b="$their_median" 'BEGIN { print a / b }')"
}

echo "load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
report "whole period" \
    "$(measure array "$tool" show --style json --debug --last "$(last)")" \
    "$(measure lines journalctl -o json --since "@$((since - margin))")"
report "tagged entries only" \
    "$(measure array "$tool" show --style json --debug --predicate "subsystem == \"$tag\"" --last "$(last)")" \
    "$(measure lines journalctl -o json --since "@$((since - margin))" -t "$tag")"
echo "load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
