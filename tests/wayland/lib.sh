# shellcheck shell=bash disable=SC2034  # variables set here are read by the test scripts
# Helpers for the desktop tests on a real Wayland compositor. A script runs
# inside scripts/wayland-desktop (sway or mutter, headless, with Xwayland) and
# starts with
#
#   . "$(dirname "$0")/lib.sh"
#
# It brings the integration tests' helpers (tests/integration/lib.sh: start_app,
# start_trovix, wait_for, fail ...) and adds the compositor's side: a pointer
# the tests move, screenshots of the whole desktop, Wayland clients.

# shellcheck source=../integration/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/../integration/lib.sh"

[ -n "${TROVIX_COMPOSITOR:-}" ] && [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] ||
    fail "run this inside a Wayland session: scripts/wayland-desktop run --compositor sway -- $0"

# Each compositor keeps its own artefacts.
ARTIFACTS=$ARTIFACTS-$TROVIX_COMPOSITOR
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# Screenshots show the whole desktop, Wayland windows too, where the
# compositor lets a client take one (grim on sway); elsewhere only what
# Xwayland shows.
screenshot() {
    local file="$ARTIFACTS/$1.png"
    if [ "$TROVIX_COMPOSITOR" = sway ] && command -v grim >/dev/null 2>&1; then
        grim -c "$file" && echo "$file"
    else
        import -window root "$file" && echo "$file"
    fi
}

_wl_pointer_answers=0

# Starts the tests' pointer: the wlroots virtual pointer on sway, a
# remote-desktop session on mutter. Commands go to it through a pipe and
# each is answered with one line.
start_pointer() {
    local fifo="$ARTIFACTS/pointer.in"
    local -a pointer=("$TROVIX_BUILD_DIR/tests/wayland/trovix-virtual-pointer")
    [ "$TROVIX_COMPOSITOR" = mutter ] &&
        pointer=(python3 "$TROVIX_SOURCE_DIR/tests/wayland/pointer/mutter_pointer.py")
    rm -f "$fifo"
    mkfifo "$fifo" || fail "cannot make $fifo"
    : >"$ARTIFACTS/pointer.out"
    "${pointer[@]}" <"$fifo" >>"$ARTIFACTS/pointer.out" 2>>"$ARTIFACTS/pointer.err" &
    _lib_started+=("$! pointer")
    exec {_wl_pointer_fd}>"$fifo"
    wait_for 15 grep -qx ready "$ARTIFACTS/pointer.out" ||
        fail "the test pointer did not start: $(cat "$ARTIFACTS/pointer.err")"
}

# Sends one command to the pointer and waits for its answer.
pointer_command() {
    _wl_pointer_answers=$((_wl_pointer_answers + 1))
    echo "$*" >&"$_wl_pointer_fd"
    wait_for 10 eval "[ \$(grep -c -E '^(ok|error)' '$ARTIFACTS/pointer.out') -ge $_wl_pointer_answers ]" ||
        fail "the test pointer did not answer '$*'"
    tail -n 1 "$ARTIFACTS/pointer.out" | grep -qx ok || fail "the test pointer refused '$*': $(tail -n 1 "$ARTIFACTS/pointer.out")"
}

# The desktop's size in layout pixels (every output), "WIDTH HEIGHT".
layout_size() {
    if [ "$TROVIX_COMPOSITOR" = sway ]; then
        swaymsg -t get_outputs | jq -r '[.[] | select(.active) | .rect] |
            "\(map(.x + .width) | max) \(map(.y + .height) | max)"'
    else
        xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[1], size[2] }'
    fi
}

# Moves the pointer to X,Y of the desktop.
move_pointer() {
    pointer_command move "$1" "$2" $(layout_size)
}

# The top-left corner "X Y" of Trovix's visible pop-up menu (an
# override-redirect window on Xwayland's root window); 1 when none is open.
popup_corner() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$TROVIX_PID" 2>/dev/null); do
        xwininfo -id "$window" 2>/dev/null | awk '
            /Absolute upper-left X/ { x = $NF }
            /Absolute upper-left Y/ { y = $NF }
            /Override Redirect State: yes/ { popup = 1 }
            END { if (!popup) exit 1; print x, y }' && return 0
    done
    return 1
}
