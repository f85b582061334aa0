#!/usr/bin/env bash
# The desktop tests' checks of the long-running Trovix can fail: a stand-in
# for Trovix that exits badly, dies by a signal or prints a sanitizer report
# fails a test that stops it (stop_trovix), one that waits for it to end
# (expect_trovix_exit), one that checks a window went away (closed), and one
# that leaves it running to the end. A clean stand-in passes them all.
#
# Run as `exit_checks_test.sh --stand-in MODE`, this script is the stand-in:
# it says it is ready in $READY, then on SIGTERM (or at once) does MODE.
set -uo pipefail

if [ "${1:-}" = --stand-in ]; then
    mode=$2
    case $mode in
    clean | status | signal | report) trap 'end' TERM ;;
    esac
    end() {
        case $mode in
        clean) exit 0 ;;
        status) exit 1 ;;
        signal) trap - SEGV && kill -SEGV $$ ;;
        report)
            echo "==$$==ERROR: LeakSanitizer: detected memory leaks" >&2
            exit 0
            ;;
        esac
    }
    : >"$READY"
    case $mode in
    crash-now) kill -SEGV $$ ;;
    quit-now) exit 0 ;;
    quit-badly) exit 3 ;;
    esac
    while :; do sleep 0.1; done
fi

self=$(readlink -f "$0")
lib=$(dirname "$self")/lib.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# Runs the test body BODY (bash, after sourcing lib.sh) with Trovix replaced by
# the stand-in in MODE, and checks that the test ends with the status EXPECTED
# (0 passes, 1 fails) and, when it fails, says MESSAGE.
check() {
    local expected=$1 mode=$2 body=$3 message=${4:-} status output
    output=$(
        TROVIX="$self" TROVIX_ARTIFACTS="$scratch" READY="$scratch/ready" \
            bash -c ". '$lib'
                     start_trovix --stand-in $mode
                     wait_for 10 test -e '$scratch/ready'
                     $body" 2>&1
    )
    status=$?
    rm -f "$scratch/ready"
    if [ "$status" != "$expected" ]; then
        echo "FAIL: $mode, '$body': status $status, expected $expected"
        printf '%s\n' "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    elif [ -n "$message" ] && ! grep -q -- "$message" <<<"$output"; then
        echo "FAIL: $mode, '$body': no '$message' in:"
        printf '%s\n' "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok: $mode, '$body' ends with $status"
    fi
}

check 0 clean 'stop_trovix'
check 1 status 'stop_trovix' 'ended with status 1'
check 1 signal 'stop_trovix' 'died by signal 11'
check 1 report 'stop_trovix' 'reported: .*LeakSanitizer'
# Left running to the end of the test: the cleanup stops and checks it.
check 0 clean 'true'
check 1 status 'true' 'ended with status 1'
check 1 signal 'exit 0' 'died by signal 11'
check 1 report 'exit 77' 'LeakSanitizer'
# Ended before the test looked.
check 1 crash-now 'wait_for 10 eval "! running \$TROVIX_PID"; stop_trovix' 'died by signal 11'
check 1 quit-now 'wait_for 10 eval "! running \$TROVIX_PID"; stop_trovix' 'ended by itself before it was stopped'
check 0 quit-now 'expect_trovix_exit'
check 1 quit-badly 'expect_trovix_exit' 'ended with status 3'
check 1 crash-now 'wait_for 10 eval "! running \$TROVIX_PID"; true' 'died by signal 11'
# A window check while Trovix is gone fails, whatever the windows show.
visible='visible_windows() { echo 0; }'
check 0 clean "$visible; wait_for 5 closed; stop_trovix"
check 1 crash-now "$visible; wait_for 5 closed" 'died by signal 11'
check 1 quit-now "$visible; wait_for 5 closed" 'ended by itself'
# A sanitizer report of any other process the test ran fails it too.
check 1 clean "echo 'runtime error: shift exponent 40' >\"\$ARTIFACTS/client.err\"" 'client.err holds a sanitizer report'

[ $failures = 0 ] || exit 1
