# shellcheck shell=bash disable=SC2034  # variables set here are read by the test scripts
# Shared helpers for the integration test scripts. A script runs inside the
# private desktop of scripts/virtual-desktop and starts with
#
#   . "$(dirname "$0")/lib.sh"        (or "$TROVIX_SOURCE_DIR/tests/integration/lib.sh")
#   require_desktop
#
# Environment (set by trovix_integration_test): TROVIX (the executable),
# TROVIX_BUILD_DIR, TROVIX_SOURCE_DIR, TROVIX_ARTIFACTS. Each test keeps its
# logs and screenshots in $ARTIFACTS = $TROVIX_ARTIFACTS/<test name>.
#
# Every wait polls until a condition holds or a generous timeout passes, so the
# tests stay reliable on a slow or busy machine; they never sleep a fixed time
# in the hope that something has happened.

set -uo pipefail

# shellcheck source=../../scripts/xdotool-retry.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xdotool-retry.sh"

# The checks read Trovix's English texts, whatever language the developer's
# session speaks; a test of another language sets LANGUAGE itself.
export LANGUAGE=en

TEST_NAME=$(basename "$0" .sh)
TEST_NAME=${TEST_NAME%_test}
ARTIFACTS=${TROVIX_ARTIFACTS:-${TMPDIR:-/tmp}/trovix-artifacts}/$TEST_NAME
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# Exit status of the last process seen ending by wait_exit or terminate.
EXIT_STATUS=""
# Process id of the last process started by start_app or start_trovix.
APP_PID=""
TROVIX_PID=""
# Window ids found by wait_for_window(_of) and wait_for_tray_icon.
WINDOW=""
TRAY_ICON=""

_lib_started=() # "pid name" of every process started, ended at exit
# "pid name" of every Trovix started by start_trovix whose end is not checked yet.
_lib_trovix=()
_lib_trovix_count=0
# The log (stderr) of the last Trovix started by start_trovix.
TROVIX_ERR=""

# Messages go to the test's own stderr even from a command whose output is
# thrown away (a check polled by wait_for, which silences it).
exec {_lib_stderr}>&2

log() {
    printf '[%s %s] %s\n' "$TEST_NAME" "$(date +%T.%3N)" "$*" >&"$_lib_stderr"
}

pass() {
    log "ok: $*"
}

# Stops the test: a screenshot and the ends of the started processes' logs go
# with the message.
fail() {
    log "FAIL: $*"
    # Only ever a picture of the private desktop, never of the user's screen.
    [ -n "${TROVIX_DESKTOP_DIR:-}" ] && screenshot failure >/dev/null 2>&1
    local entry name
    for entry in ${_lib_started[@]+"${_lib_started[@]}"}; do
        name=${entry#* }
        if [ -s "$ARTIFACTS/$name.err" ]; then
            log "last lines of $ARTIFACTS/$name.err:"
            tail -n 20 "$ARTIFACTS/$name.err" | sed 's/^/    /' >&"$_lib_stderr"
        fi
    done
    exit 1
}

# Fails with MESSAGE unless COMMAND succeeds:  expect "MESSAGE" COMMAND [ARG...]
expect() {
    local message=$1
    shift
    "$@" || fail "$message"
}

# Refuses to run outside the private desktop: the tests start programs, grab
# keys and click around, which must never happen on a real session.
require_desktop() {
    [ -n "${TROVIX_DESKTOP_DIR:-}" ] && [ -n "${DISPLAY:-}" ] ||
        fail "run this inside the private desktop: scripts/virtual-desktop run -- $0"
}

_lib_now_ms() {
    local microseconds=${EPOCHREALTIME/[.,]/}
    echo $((microseconds / 1000))
}

# Polls COMMAND every 0.1 s until it succeeds (0) or TIMEOUT seconds pass (1).
#   wait_for 10 xdotool search --name "^Trovix$"
wait_for() {
    local timeout=$1
    shift
    local deadline=$(($(_lib_now_ms) + timeout * 1000))
    until "$@" >/dev/null 2>&1; do
        [ "$(_lib_now_ms)" -ge $deadline ] && return 1
        sleep 0.1
    done
}

# Polls COMMAND every 0.2 s until it prints the same non-empty output three
# times running or TIMEOUT seconds pass (1); STABLE holds the last output.
#   wait_stable 10 window_height "$WINDOW"
STABLE=""
wait_stable() {
    local timeout=$1
    shift
    local deadline=$(($(_lib_now_ms) + timeout * 1000)) previous="" same=0
    while [ "$(_lib_now_ms)" -lt $deadline ]; do
        STABLE=$("$@" 2>/dev/null)
        if [ -n "$STABLE" ] && [ "$STABLE" = "$previous" ]; then
            same=$((same + 1))
            [ $same -ge 2 ] && return 0
        else
            same=0
        fi
        previous=$STABLE
        sleep 0.2
    done
    return 1
}

# The messaging timeout in milliseconds as Trovix reads it from "Accessibility
# API Timeout": the stored value above 0.009 s, 1 s otherwise.
messaging_timeout_ms() {
    local seconds
    seconds=$("$TROVIX" defaults read "Accessibility API Timeout" 2>/dev/null)
    awk -v s="${seconds:-0}" 'BEGIN { if (s + 0 > 0.009) printf "%d\n", s * 1000; else print 1000 }'
}

# A step that waits on an application that does not answer must end within
# the messaging timeout plus one second. The bound is taken over BASELINE_MS,
# the same step measured with the application answering, so that a slow or
# loaded machine (or a sanitizer build) shifts both figures alike.
#   expect_within_timeout "the pop-up" "$elapsed" "$baseline"
expect_within_timeout() {
    local what=$1 elapsed=$2 baseline=$3
    local bound=$((baseline + $(messaging_timeout_ms) + 1000))
    log "$what: $elapsed ms with the application stopped, $baseline ms answering (bound $bound ms)"
    [ "$elapsed" -le "$bound" ] || fail "$what took $elapsed ms, more than $bound ms"
}

# Saves the screen as $ARTIFACTS/NAME.png and prints the file's path.
screenshot() {
    local file="$ARTIFACTS/$1.png"
    import -window root "$file" && echo "$file"
}

# Takes screenshots until two in a row are the same (the menu has finished
# drawing), then keeps the last as NAME.png.
settled_screenshot() {
    local name=$1 previous="$ARTIFACTS/.previous.png" current="$ARTIFACTS/$1.png" i
    import -window root "$previous" || fail "cannot take a screenshot"
    for i in $(seq 1 25); do
        sleep 0.2
        import -window root "$current" || fail "cannot take a screenshot"
        cmp -s "$previous" "$current" && break
        mv "$current" "$previous"
    done
    rm -f "$previous"
    log "screenshot $current"
}

# Starts COMMAND in the background, its output in $ARTIFACTS/NAME.out and
# NAME.err; APP_PID is its process id. Processes still running when the test
# ends are terminated then.
#   start_app editor "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-qt" menus.json
start_app() {
    local name=$1
    shift
    "$@" </dev/null >>"$ARTIFACTS/$name.out" 2>>"$ARTIFACTS/$name.err" &
    APP_PID=$!
    _lib_started+=("$APP_PID $name")
    log "started $name (pid $APP_PID): $*"
}

# Starts the long-running Trovix with ARGs; TROVIX_PID (and APP_PID) is its
# process id, TROVIX_ERR its log. Every instance's end is checked: by
# stop_trovix, by expect_trovix_exit when it ends by itself, or at the end of
# the test for any instance left running.
start_trovix() {
    [ -x "${TROVIX:-}" ] || fail "TROVIX does not name the built executable: '${TROVIX:-}'"
    _lib_trovix_count=$((_lib_trovix_count + 1))
    local name=trovix
    [ $_lib_trovix_count -gt 1 ] && name=trovix-$_lib_trovix_count
    start_app "$name" "$TROVIX" "$@"
    TROVIX_PID=$APP_PID
    TROVIX_ERR=$ARTIFACTS/$name.err
    _lib_trovix+=("$TROVIX_PID $name")
}

# Starts Trovix in a terminal of its own (script(1)), so that what it writes
# when its output is a terminal lands in $ARTIFACTS/trovix-tty.log; ARGs
# (VAR=value) are set in its environment. TTY_PID is script's process id,
# TTY_TROVIX_PID Trovix's; script ends with Trovix's status. script runs the
# command through $SHELL or /bin/sh, and dash does not exec a lone command:
# without the exec a signal sent to the child would end the shell, not Trovix.
start_trovix_in_terminal() {
    start_app trovix-tty env "$@" script -qfec "exec $(printf %q "$TROVIX")" "$ARTIFACTS/trovix-tty.log"
    TTY_PID=$APP_PID
    wait_for 10 eval '[ -n "$(pgrep -P "$TTY_PID")" ]' || fail "Trovix did not start in the terminal"
    TTY_TROVIX_PID=$(pgrep -P "$TTY_PID" | head -n 1)
}

# Prints the first sanitizer report line of FILE; 1 when it holds none.
sanitizer_report() {
    grep -m 1 -E 'ERROR: (Address|Leak)Sanitizer|LeakSanitizer: detected|runtime error:|SUMMARY: [A-Za-z]+Sanitizer' "$1" 2>/dev/null
}

# Prints what is wrong with how the Trovix NAME (pid PID) ended with STATUS
# (128+N after signal N) and returns 1; returns 0 when it ended cleanly:
# status 0 and no sanitizer report in its log.
_lib_trovix_exit_problem() {
    local pid=$1 status=$2 name=$3 report
    if [ "$status" -gt 128 ] && [ "$status" -lt 160 ]; then
        echo "Trovix ($name, pid $pid) died by signal $((status - 128)) ($(kill -l $((status - 128)) 2>/dev/null))"
        return 1
    elif [ "$status" != 0 ]; then
        echo "Trovix ($name, pid $pid) ended with status $status"
        return 1
    elif report=$(sanitizer_report "$ARTIFACTS/$name.err"); then
        echo "Trovix ($name, pid $pid) reported: $report"
        return 1
    fi
}

# The name start_trovix gave the instance PID; it is no longer tracked after.
_lib_take_trovix() {
    local pid=$1 entry
    local -a remaining=()
    _lib_taken=trovix
    for entry in ${_lib_trovix[@]+"${_lib_trovix[@]}"}; do
        if [ "${entry%% *}" = "$pid" ]; then
            _lib_taken=${entry#* }
        else
            remaining+=("$entry")
        fi
    done
    _lib_trovix=(${remaining[@]+"${remaining[@]}"})
}

# Fails the test unless the Trovix PID, seen ending with EXIT_STATUS, ended
# cleanly.
_lib_expect_clean_end() {
    local problem
    _lib_take_trovix "$1"
    problem=$(_lib_trovix_exit_problem "$1" "$EXIT_STATUS" "$_lib_taken") || fail "$problem"
}

# Stops a Trovix started by start_trovix (TROVIX_PID by default) with SIGTERM
# and fails the test unless it ends within TIMEOUT seconds (30 by default)
# with status 0 and without a sanitizer report in its log. A Trovix that
# already ended fails the test too.
#   stop_trovix [PID [TIMEOUT]]
stop_trovix() {
    local pid=${1:-$TROVIX_PID} timeout=${2:-30}
    if ! running "$pid"; then
        wait_exit "$pid" 1
        _lib_expect_clean_end "$pid"
        fail "Trovix (pid $pid) had ended by itself before it was stopped"
    fi
    kill -TERM "$pid"
    wait_exit "$pid" "$timeout" || fail "Trovix (pid $pid) still runs $timeout s after SIGTERM"
    _lib_expect_clean_end "$pid"
}

# Waits up to TIMEOUT seconds (30 by default) for a Trovix started by
# start_trovix (TROVIX_PID by default) that ends by itself (Quit, a second
# start handing over) and fails the test unless it ended cleanly.
#   expect_trovix_exit [PID [TIMEOUT]]
expect_trovix_exit() {
    local pid=${1:-$TROVIX_PID} timeout=${2:-30}
    wait_exit "$pid" "$timeout" || fail "Trovix (pid $pid) still runs after $timeout s"
    _lib_expect_clean_end "$pid"
}

# Fails the test unless the Trovix started last still runs: a check that a
# window went away proves nothing when Trovix itself went away.
expect_trovix_running() {
    running "$TROVIX_PID" && return 0
    wait_exit "$TROVIX_PID" 1
    _lib_expect_clean_end "$TROVIX_PID"
    fail "Trovix (pid $TROVIX_PID) ended by itself with status 0"
}

# True while PID runs (a process that has ended but is not yet reaped counts
# as ended).
running() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat:0:1}" != Z ]
}

# Exit status of every process wait_exit has seen end, by process id: a
# process can be reaped only once, and its status is asked for again later.
declare -A _lib_reaped=()

# Waits up to TIMEOUT seconds for PID (started by this script) to end; then
# EXIT_STATUS holds its exit status (128+N after signal N). 1 if it still runs.
wait_exit() {
    local pid=$1 timeout=$2
    if [ -z "${_lib_reaped[$pid]:-}" ]; then
        wait_for "$timeout" eval "! running $pid" || return 1
        wait "$pid"
        _lib_reaped[$pid]=$?
    fi
    EXIT_STATUS=${_lib_reaped[$pid]}
    return 0
}

# Sends SIGTERM to PID and waits up to TIMEOUT seconds for it to end (fails the
# test if it does not); EXIT_STATUS holds its exit status.
terminate() {
    local pid=$1 timeout=$2
    kill -TERM "$pid" 2>/dev/null || fail "process $pid is not running"
    wait_exit "$pid" "$timeout" || fail "process $pid still runs $timeout s after SIGTERM"
}

# Fails unless PID keeps running for SECONDS.
expect_running() {
    local pid=$1 seconds=$2
    if wait_exit "$pid" "$seconds"; then
        fail "process $pid ended with status $EXIT_STATUS within $seconds s"
    fi
}

# Prints the visible windows whose title matches the regular expression
# PATTERN, tray icons left out. `xdotool search --name` also matches a
# window's class ("Trovix" for every window of Trovix, its tray icon's too),
# so the title is checked again here.
titled_windows() {
    local pattern=$1 window icons
    icons=" $(tray_icons | while read -r icon _; do printf '%d ' "$icon"; done)"
    for window in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
        [[ $icons == *" $window "* ]] && continue
        [[ $(xdotool getwindowname "$window" 2>/dev/null) =~ $pattern ]] && echo "$window"
    done
}

_lib_find_window() {
    WINDOW=$(titled_windows "$1" | head -n 1)
    [ -n "$WINDOW" ]
}

# Waits up to TIMEOUT seconds for a visible window whose title matches the
# regular expression PATTERN; WINDOW is its id. Fails the test otherwise.
wait_for_window() {
    local timeout=$1 pattern=$2
    wait_for "$timeout" _lib_find_window "$pattern" || fail "no window titled '$pattern' within $timeout s"
}

# Waits up to TIMEOUT seconds for a visible window of process PID; WINDOW is
# its id. Fails the test otherwise.
wait_for_window_of() {
    local timeout=$1 pid=$2
    WINDOW=$(timeout "$timeout" xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$WINDOW" ] || fail "no window of process $pid within $timeout s"
}

# Activates a window of process PID and waits until it is the active one.
# Fails the test otherwise.
bring_to_front() {
    wait_for_window_of 30 "$1"
    # A window the window manager has not taken in yet (a slow application
    # on a loaded machine) ignores the request: it is asked again until it
    # is the active one.
    local deadline=$(($(_lib_now_ms) + 15000))
    while :; do
        timeout 3 xdotool windowactivate --sync "$WINDOW" >/dev/null 2>&1
        wait_for 2 eval "[ \"\$(xdotool getactivewindow getwindowpid 2>/dev/null)\" = $1 ]" && return 0
        [ "$(_lib_now_ms)" -lt "$deadline" ] || fail "process $1 did not come to the front"
    done
}

# How many windows Trovix (started with start_trovix) shows; its tray icon is
# one of them.
visible_windows() { xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null | wc -l; }

# Pops Trovix's menu up at the pointer (moved to 300,200) with `trovix popup
# ARG...` and waits for it. Fails the test otherwise.
open_popup() {
    local before
    before=$(visible_windows)
    xdotool mousemove 300 200
    "$TROVIX" popup "$@" 2>>"$ARTIFACTS/popup-client.err" || fail "trovix popup $* failed"
    wait_for 10 eval "[ \$(visible_windows) -gt $before ]" || fail "no pop-up menu appeared"
}

# Whether no pop-up of Trovix is open (only its tray icon is left); fails the
# test when Trovix is gone.
closed() {
    expect_trovix_running
    [ "$(visible_windows)" -le 1 ]
}

# Waits up to 30 seconds for process PID (NAME in the message) to answer on
# the accessibility bus with its menu bar. Fails the test otherwise.
wait_for_bus() {
    local pid=$1 name=${2:-the fixture}
    wait_for 30 eval "'$TROVIX' dump-menu --pid $pid --depth 1 >/dev/null 2>&1" ||
        fail "$name (pid $pid) did not appear on the accessibility bus"
}

# The tray host's panel window, the parent of every embedded icon.
tray_window() {
    xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { print $1; exit }'
}

# Prints the window id and title of every icon embedded in the tray, one a
# line ("0x60000d Trovix"). Each icon sits in a socket window of the panel.
tray_icons() {
    local panel socket
    panel=$(tray_window)
    [ -n "$panel" ] || return 0
    for socket in $(xwininfo -children -id "$panel" | awk '$1 ~ /^0x/ { print $1 }'); do
        xwininfo -children -id "$socket" |
            sed -n 's/^ *\(0x[0-9a-f]*\) "\{0,1\}\([^":]*\)"\{0,1\}:.*/\1 \2/p'
    done
}

_lib_find_tray_icon() {
    TRAY_ICON=$(tray_icons | awk -v p="$1" '$0 ~ p { print $1; exit }')
    [ -n "$TRAY_ICON" ]
}

# Waits up to TIMEOUT seconds for an icon whose title matches the regular
# expression PATTERN (any icon without it) to be embedded in the tray;
# TRAY_ICON is its window id. Fails the test otherwise.
wait_for_tray_icon() {
    local timeout=$1 pattern=${2:-}
    wait_for "$timeout" _lib_find_tray_icon "$pattern" ||
        fail "no tray icon '$pattern' within $timeout s"
}

# Makes sure a systemd-journald runs for the test: the desktop's own if there
# is one (never touched), else one started as root by scripts/test-journald
# and stopped when the test ends. Exits with 77 (skipped) when neither is
# possible.
_lib_journald=""
require_journald() {
    _lib_journald=$("$TROVIX_SOURCE_DIR/scripts/test-journald" start)
    case $? in
    0) log "journald: $_lib_journald" ;;
    77)
        # CI installs and may start everything: a skip there would pass a
        # test that never ran.
        [ "${CI:-}" = true ] && fail "no journald to test with"
        log "SKIP: no journald to test with"
        exit 77
        ;;
    *) fail "cannot start journald" ;;
    esac
}

# At the end of every test: each Trovix still running is stopped, and the test
# fails when one did not end cleanly (status, signal or sanitizer report), or
# when the log of any process the test ran holds a sanitizer report.
_lib_cleanup() {
    local entry pid name problem failed=0 file report
    for entry in ${_lib_trovix[@]+"${_lib_trovix[@]}"}; do
        pid=${entry%% *}
        name=${entry#* }
        if running "$pid"; then
            log "$name (pid $pid) still runs at the end of the test: stopping it"
            kill -TERM "$pid" 2>/dev/null
        fi
        if ! wait_exit "$pid" 30; then
            log "FAIL: $name (pid $pid) still runs 30 s after SIGTERM"
            kill -KILL "$pid" 2>/dev/null
            failed=1
        elif ! problem=$(_lib_trovix_exit_problem "$pid" "$EXIT_STATUS" "$name"); then
            log "FAIL: $problem"
            failed=1
        fi
    done
    for entry in ${_lib_started[@]+"${_lib_started[@]}"}; do
        pid=${entry%% *}
        name=${entry#* }
        if running "$pid"; then
            log "$name (pid $pid) still runs at the end of the test: terminating it"
            kill -TERM "$pid" 2>/dev/null
            wait_exit "$pid" 5 || kill -KILL "$pid" 2>/dev/null
        fi
    done
    for file in "$ARTIFACTS"/*.err; do
        [ -f "$file" ] || continue
        if report=$(sanitizer_report "$file"); then
            log "FAIL: $file holds a sanitizer report: $report"
            failed=1
        fi
    done
    if [ "$_lib_journald" = ours ]; then
        "$TROVIX_SOURCE_DIR/scripts/test-journald" stop
    fi
    # The desktop's own logs (X server, buses, window manager, tray host).
    if [ -n "${TROVIX_DESKTOP_DIR:-}" ] && [ -d "$TROVIX_DESKTOP_DIR/logs" ]; then
        mkdir -p "$ARTIFACTS/desktop"
        cp "$TROVIX_DESKTOP_DIR"/logs/*.log "$ARTIFACTS/desktop/" 2>/dev/null
    fi
    [ $failed = 0 ] || exit 1
    return 0
}
trap _lib_cleanup EXIT
