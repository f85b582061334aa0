# Shared by the desktop halves of the read-ahead benchmarks (sourced inside
# the X11 virtual desktop): the test library, the hot keys ⌃⌥M (menu) and
# ⌃⌥A (all applications), no status item, and a Trovix started with reading
# ahead off ("before") or on ("after").
. "$TROVIX_SOURCE_DIR/tests/integration/lib.sh"
bench=$TROVIX_BUILD_DIR/bench/popup/trovix-bench-hotkey
control_option=$((0x40000 | 0x80000))
defaults() { "$TROVIX" defaults "$@" >/dev/null || fail "trovix defaults $* failed"; }
defaults write "Menu Trigger" -dict "Identifier" -string "Menu Trigger" "Key Code" -int 46 \
    "Modifier Flags" -int "$control_option" "Visual Representation" -string "⌃⌥M"
defaults write "Menu Trigger: All Applications" -dict "Identifier" -string \
    "Menu Trigger: All Applications" "Key Code" -int 0 \
    "Modifier Flags" -int "$control_option" "Visual Representation" -string "⌃⌥A"
defaults write "Stealth Mode" -bool YES

# Starts Trovix with reading ahead off (before) or on (after) and waits
# until it answers.
start_trovix_for() {
    if [ "$1" = before ]; then
        defaults write QXMenuReadAheadDisabled -bool YES
    else
        defaults delete QXMenuReadAheadDisabled
    fi
    start_trovix
    wait_for 60 eval "'$TROVIX' popup --print --depth 0 >/dev/null 2>&1" || fail "Trovix did not start"
    sleep 2
}
