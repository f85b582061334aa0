# shellcheck shell=bash disable=SC2034  # variables set here are read by the test scripts
# Helpers for the desktop tests on a real Wayland compositor. A script runs
# inside scripts/wayland-desktop (sway, mutter or GNOME Shell, headless, with Xwayland) and
# starts with
#
#   . "$(dirname "$0")/lib.sh"
#
# It brings the integration tests' helpers (tests/integration/lib.sh: start_app,
# start_trovix, wait_for, fail ...) and adds the compositor's side: a pointer
# and a keyboard the tests drive, screenshots of the whole desktop, Wayland
# clients.

# shellcheck source=../integration/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/../integration/lib.sh"

[ -n "${TROVIX_COMPOSITOR:-}" ] && [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] ||
    fail "run this inside a Wayland session: scripts/wayland-desktop run --compositor sway -- $0"

# Each compositor keeps its own artefacts.
ARTIFACTS=$ARTIFACTS-$TROVIX_COMPOSITOR
rm -rf "$ARTIFACTS"
mkdir -p "$ARTIFACTS"

# Screenshots show the whole desktop, Wayland windows too, where the
# compositor lets a client take one (grim on sway, the shell's own on GNOME
# Shell); on bare mutter only what Xwayland shows. KWin takes them only when
# it composites with OpenGL, which the tests' software rendering does not:
# none there.
screenshot() {
    local file="$ARTIFACTS/$1.png"
    if [ "$TROVIX_COMPOSITOR" = sway ] && command -v grim >/dev/null 2>&1; then
        grim -c "$file" && echo "$file"
    elif [ "$TROVIX_COMPOSITOR" = kwin ]; then
        return 1
    elif [ "$TROVIX_COMPOSITOR" = gnome-shell ]; then
        python3 "$TROVIX_SOURCE_DIR/tests/wayland/gnome_screenshot.py" "$file" && echo "$file"
    else
        import -window root "$file" && echo "$file"
    fi
}

declare -A _wl_device_fd=() _wl_device_answers=()

# Starts one of the tests' input devices, NAME, as the command that follows.
# Commands go to it through a pipe and each is answered with one line in
# $ARTIFACTS/NAME.out.
_wl_start_device() {
    local name=$1 fifo="$ARTIFACTS/$1.in" fd
    shift
    rm -f "$fifo"
    mkfifo "$fifo" || fail "cannot make $fifo"
    : >"$ARTIFACTS/$name.out"
    "$@" <"$fifo" >>"$ARTIFACTS/$name.out" 2>>"$ARTIFACTS/$name.err" &
    _lib_started+=("$! $name")
    exec {fd}>"$fifo"
    _wl_device_fd[$name]=$fd
    _wl_device_answers[$name]=0
    wait_for 15 grep -qx ready "$ARTIFACTS/$name.out" ||
        fail "the test $name did not start: $(cat "$ARTIFACTS/$name.err")"
}

# Sends one command to device NAME and waits for its answer.
_wl_device_command() {
    local name=$1 out="$ARTIFACTS/$1.out" answers
    shift
    answers=$((_wl_device_answers[$name] + 1))
    _wl_device_answers[$name]=$answers
    echo "$*" >&"${_wl_device_fd[$name]}"
    wait_for 10 eval "[ \$(grep -c -E '^(ok|error)' '$out') -ge $answers ]" ||
        fail "the test $name did not answer '$*'"
    tail -n 1 "$out" | grep -qx ok || fail "the test $name refused '$*': $(tail -n 1 "$out")"
}

# KWin offers its fake input only to programs whose desktop entry asks for
# it: the tests' device gets one in the session's data folder.
_wl_kwin_fake_input() {
    local program=$TROVIX_BUILD_DIR/tests/wayland/trovix-fake-input
    local entry=$XDG_DATA_HOME/applications/trovix-tests-fake-input.desktop
    if [ ! -e "$entry" ]; then
        mkdir -p "$(dirname "$entry")"
        printf '%s\n' "[Desktop Entry]" "Type=Application" "Name=Trovix tests' input device" \
            "Exec=$program" "NoDisplay=true" "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input" \
            >"$entry"
    fi
    echo "$program"
}

# The tests' pointer: the wlroots virtual pointer on sway, KDE's fake input
# on KWin, a remote-desktop session on mutter and GNOME Shell.
start_pointer() {
    case $TROVIX_COMPOSITOR in
    sway) _wl_start_device pointer "$TROVIX_BUILD_DIR/tests/wayland/trovix-virtual-pointer" ;;
    kwin) _wl_start_device pointer "$(_wl_kwin_fake_input)" ;;
    *) _wl_start_device pointer python3 "$TROVIX_SOURCE_DIR/tests/wayland/pointer/mutter_pointer.py" ;;
    esac
}

# Sends one command to the pointer and waits for its answer.
pointer_command() {
    _wl_device_command pointer "$@"
}

# The tests' keyboard: the wlroots virtual keyboard on sway (a seat without a
# keyboard gives no client keyboard focus), KDE's fake input on KWin, the
# remote-desktop session's on mutter and GNOME Shell.
start_keyboard() {
    case $TROVIX_COMPOSITOR in
    sway) _wl_start_device keyboard "$TROVIX_BUILD_DIR/tests/wayland/trovix-virtual-keyboard" ;;
    kwin) _wl_start_device keyboard "$(_wl_kwin_fake_input)" ;;
    *) _wl_start_device keyboard python3 "$TROVIX_SOURCE_DIR/tests/wayland/pointer/mutter_pointer.py" ;;
    esac
}

# Presses a combination of evdev key codes on the tests' keyboard
# ("press_keys 29 56 50" is Ctrl+Alt+M).
press_keys() {
    _wl_device_command keyboard press "$@"
}

# Runs a script of KWin's scripting interface (JavaScript) in the session's
# KWin, and waits for it to have run.
kwin_script() {
    local file="$ARTIFACTS/kwin-script.js" id path
    printf '%s\n' "$1" >"$file"
    id=$(dbus-send --session --print-reply=literal --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.loadScript "string:$file" string:trovix-tests | awk '{print $2}')
    [ -n "$id" ] && [ "$id" -ge 0 ] || return 1
    # Newer KWin names a loaded script /Scripting/Script<id>, older /<id>.
    for path in "/Scripting/Script$id" "/$id"; do
        dbus-send --session --print-reply --dest=org.kde.KWin "$path" org.kde.kwin.Script.run \
            >/dev/null 2>&1 && break
    done
    dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
        org.kde.kwin.Scripting.unloadScript string:trovix-tests >/dev/null
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
