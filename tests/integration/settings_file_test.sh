#!/usr/bin/env bash
# The trovix command against settings files that used to crash it or lose
# the user's settings; no desktop needed.
# - A file of arrays 100 000 deep (1.5 MB): every command used to die by
#   SIGSEGV, at every start. Now it is set aside, unchanged, and the command
#   ends normally on defaults.
# - A FIFO or a folder where the file should be: nothing can open it (root
#   neither), and a plain open of the FIFO would wait for ever. Commands say
#   so, end at once, and leave it exactly as it is.
set -uo pipefail
: "${TROVIX:?the trovix program to test}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# run CONFIG ARGS...: trovix with its own config folder, bounded in time;
# leaves the status in $status and the output in $work/out and $work/err.
run() {
    local config=$1
    shift
    XDG_CONFIG_HOME=$config timeout 30 "$TROVIX" "$@" >"$work/out" 2>"$work/err"
    status=$?
    if [ "$status" -ge 124 ]; then
        fail "trovix $* ended with status $status (timed out or killed by a signal)"
    fi
    if grep -E -q 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$work/err"; then
        fail "trovix $* reported a sanitizer error"
        cat "$work/err" >&2
    fi
}

# The settings file's name comes from the bundle: found by writing once.
probe=$work/probe
mkdir -p "$probe"
run "$probe" defaults write Probe -int 1
name=$(cd "$probe" && ls -- *.plist)
[ -n "$name" ] || fail "trovix defaults write made no settings file"

# Nested 100 000 deep.
config=$work/nested
mkdir -p "$config"
file=$config/$name
{
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict><key>Deep</key>'
    yes '<array>' | head -n 100000 | tr -d '\n'
    yes '</array>' | head -n 100000 | tr -d '\n'
    printf '</dict></plist>\n'
} >"$work/nested.plist"
cp "$work/nested.plist" "$file"
run "$config" defaults read
[ "$status" -le 1 ] || fail "defaults read of the nested file: status $status"
[ ! -e "$file" ] || fail "the nested file was not set aside"
aside=("$file".corrupt-*)
if [ ${#aside[@]} -ne 1 ] || ! cmp -s "${aside[0]}" "$work/nested.plist"; then
    fail "the nested file is not kept aside unchanged: ${aside[*]}"
fi
run "$config" defaults write "Stealth Mode" -bool yes
[ "$status" -eq 0 ] || fail "defaults write after the nested file: status $status"
run "$config" defaults read "Stealth Mode"
[ "$(cat "$work/out")" = 1 ] || fail "a setting written after the nested file does not read back"

# A FIFO and a folder in the file's place.
for kind in fifo folder; do
    config=$work/$kind
    mkdir -p "$config"
    file=$config/$name
    if [ "$kind" = fifo ]; then mkfifo "$file"; else mkdir "$file"; fi
    for command in "read" "write Stealth-Mode -bool yes" "delete Stealth-Mode"; do
        # shellcheck disable=SC2086 # the words of the command are meant to split
        run "$config" defaults $command
        [ "$status" -eq 1 ] || fail "defaults $command with a $kind in place: status $status"
        grep -q "cannot open the settings file $file" "$work/err" ||
            fail "defaults $command with a $kind in place does not say why: $(cat "$work/err")"
    done
    if [ "$kind" = fifo ]; then
        [ -p "$file" ] || fail "the FIFO was replaced"
    else
        [ -d "$file" ] && [ -z "$(ls -A "$file")" ] || fail "the folder was replaced or filled"
    fi
    [ "$(ls -A "$config")" = "$name" ] || fail "files beside the $kind: $(ls -A "$config")"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "settings files: all checks passed"
