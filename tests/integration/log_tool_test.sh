#!/usr/bin/env bash
# trovix-log against a real journald: show finds exactly the matching entries
# written here, at the right level, with awkward text intact as JSON; a bad
# predicate exits 64 with nothing on stdout; stream follows an entry written
# after it started and ends cleanly on SIGTERM and when its reader goes away.
. "$(dirname "$0")/lib.sh"

tool="$(dirname "$TROVIX")/trovix-log"
[ -x "$tool" ] || fail "no trovix-log beside trovix: $tool"
require_journald

# A tag no other entry carries; it holds no "x", so only the messages below
# decide what the predicate matches.
tag="tltest$$r$RANDOM"
logger -t "$tag" -p user.notice "$tag one x" || fail "logger cannot write"
logger -t "$tag" -p user.notice "$tag plain"
logger -t "$tag" -p user.err "$tag error x"
logger -t "$tag" -p user.info "$tag info x"
logger -t "$tag" -p user.debug "$tag debug x"
logger -t "$tag" -p user.notice $'x:\n}\n},{\ttab "quoted" \\ 🎉 end'
logger -t "$tag" -p user.notice $'x: bad \xff\xfe bytes'

# Messages of this test's entries in one show run at LEVEL ("" for the
# default), one JSON string a line; the run's output is kept in show$LEVEL.json.
ours() {
    local level=${1:-}
    "$tool" show --style json --predicate 'eventMessage CONTAINS "x"' ${level:+"$level"} \
        --last 1h >"$ARTIFACTS/show$level.json" 2>"$ARTIFACTS/show.err" || return 1
    jq -c --arg tag "$tag" '.[] | select(.subsystem == $tag) | .eventMessage' \
        "$ARTIFACTS/show$level.json"
}
have_all() { [ "$(ours --debug | wc -l)" -eq 6 ]; }
wait_for 60 have_all || fail "the test's entries did not reach the journal: $(ours --debug)"

expected=$(printf '%s\n' "\"$tag one x\"" "\"$tag error x\"" \
    '"x:\n}\n},{\ttab \"quoted\" \\ 🎉 end"' '"x: bad �� bytes"')
actual=$(ours)
[ "$actual" = "$expected" ] || fail "show at the default level gave
$actual
instead of
$expected"
pass "show: exactly the matching entries at the default level"

info=$(ours --info)
grep -q "info x" <<<"$info" || fail "--info leaves out the info entry"
grep -q "debug x" <<<"$info" && fail "--info shows the debug entry"
grep -q "debug x" "$ARTIFACTS/show--debug.json" || fail "--debug leaves out the debug entry"
pass "show: --info and --debug add their levels"

# Everything shown matches, and the array has the shape the reader cuts: a
# "}" in the first column ends each top-level object and nothing else.
jq -e 'all(.[]; .eventMessage | contains("x"))' "$ARTIFACTS/show.json" >/dev/null ||
    fail "show returned an entry that does not match the predicate"
entries=$(jq length "$ARTIFACTS/show.json")
ends=$(grep -c '^}' "$ARTIFACTS/show.json")
[ "$ends" -eq "$entries" ] || fail "$ends lines start with } for $entries entries"
head -c 2 "$ARTIFACTS/show.json" | grep -q '^\[{' || fail "show does not start with [{"
grep '^}' "$ARTIFACTS/show.json" | grep -qv '^},{$\|^}]$' && fail "a top-level object ends oddly"
jq -e --arg tag "$tag" '[.[] | select(.subsystem == $tag)] | all(.timestamp | test(
    "^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{6}[+-][0-9]{4}$"))' \
    "$ARTIFACTS/show.json" >/dev/null || fail "a timestamp is not yyyy-MM-dd HH:mm:ss.SSSSSSZ"
jq -e --arg tag "$tag" '[.[] | select(.subsystem == $tag)] | all(.processID | type == "number")
    and all(.eventType == "logEvent")' "$ARTIFACTS/show.json" >/dev/null ||
    fail "processID or eventType missing"
pass "show: valid JSON of the reader's shape"

"$tool" show --style json --predicate 'eventMessage CONTAINS' --last 1h \
    >"$ARTIFACTS/bad.out" 2>"$ARTIFACTS/bad.err"
status=$?
[ $status -eq 64 ] || fail "a bad predicate exits with $status, not 64"
[ -s "$ARTIFACTS/bad.out" ] && fail "a bad predicate still writes to stdout"
grep -q "invalid predicate" "$ARTIFACTS/bad.err" || fail "no message for a bad predicate"
pass "show: a bad predicate exits 64 with a message"

# Stream: the header appears once the journal is being followed; an entry
# written after that arrives, and SIGTERM closes the array.
stream_out="$ARTIFACTS/stream.out"
start_app stream "$tool" stream --style json --predicate "subsystem == \"$tag\"" --level default
stream_pid=$APP_PID
header_written() { [ "$(head -n 1 "$stream_out")" != "" ]; }
wait_for 20 header_written || fail "stream wrote no header line"
head -n 1 "$stream_out" | grep -q '^Following the journal at level default' ||
    fail "unexpected header: $(head -n 1 "$stream_out")"
logger -t "$tag" "$tag streamed x"
streamed() { grep -q "$tag streamed x" "$stream_out"; }
wait_for 20 streamed || fail "stream did not show an entry written after it started"
terminate "$stream_pid" 20
[ "$EXIT_STATUS" -eq 0 ] || fail "stream ended with status $EXIT_STATUS on SIGTERM"
tail -n +2 "$stream_out" | jq -e --arg tag "$tag" \
    '[.[] | .eventMessage] == [$tag + " streamed x"]' >/dev/null ||
    fail "stream's array is not the one entry: $(tail -n +2 "$stream_out")"
pass "stream: follows new entries, ends cleanly on SIGTERM"

# A reader that goes away ends the stream at once, without an entry to write.
start_app pipe bash -c "\"$tool\" stream --style json --level default | head -n 1 >/dev/null;
    echo \"\${PIPESTATUS[0]}\" >\"$ARTIFACTS/pipe.status\""
wait_exit "$APP_PID" 20 || fail "stream kept running after its reader went away"
[ "$(cat "$ARTIFACTS/pipe.status")" = 0 ] ||
    fail "stream ended with status $(cat "$ARTIFACTS/pipe.status") when its reader went away"
pass "stream: ends cleanly when its reader goes away"

# show writing into a pipe nobody reads (a reader that stopped reading before
# it terminates the tool) still ends at once on SIGTERM.
seq -f "$tag filler %04g $(printf '%0200d' 0)" 300 | logger -t "$tag"
mkfifo "$ARTIFACTS/unread"
exec 7<>"$ARTIFACTS/unread" # keeps the pipe open without ever reading it
start_app unread bash -c "exec \"$tool\" show --style json --debug >\"$ARTIFACTS/unread\""
unread_pid=$APP_PID
# Full once a pipe's worth is written, or while one write waits for room.
pipe_full() {
    [ "$(awk '/^wchar:/ { print $2 }' "/proc/$unread_pid/io")" -ge 65536 ] ||
        grep -q pipe_write "/proc/$unread_pid/wchan"
}
wait_for 60 pipe_full || fail "show did not fill the pipe"
terminate "$unread_pid" 10
exec 7<&-
pass "show: ends on SIGTERM while its output is not read"
