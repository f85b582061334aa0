#include "platform/input/x11/XkbKeyText.h"

#include <memory>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace platform {
namespace {

struct StateDeleter
{
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using StatePointer = std::unique_ptr<xkb_state, StateDeleter>;

StatePointer stateFor(xkb_keymap* keymap, quint16 xModifierState, xkb_layout_index_t group)
{
    StatePointer state(xkb_state_new(keymap));
    if (state) {
        // X modifier bits are the keymap's real modifiers in the same order.
        xkb_state_update_mask(state.get(), xModifierState, 0, 0, 0, 0, group);
    }
    return state;
}

bool isDeadKey(xkb_keysym_t keysym)
{
    // The dead-key block of the keysym space.
    return keysym >= XKB_KEY_dead_grave && keysym <= 0xfe9f;
}

} // namespace

std::optional<QString> unmodifiedCharacterForKey(xkb_keymap* keymap, xkb_keycode_t keycode,
                                                 xkb_layout_index_t group)
{
    if (!keymap || keycode < xkb_keymap_min_keycode(keymap) ||
        keycode > xkb_keymap_max_keycode(keymap)) {
        return std::nullopt;
    }
    const StatePointer state = stateFor(keymap, 0, group);
    if (!state) {
        return std::nullopt;
    }
    const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state.get(), keycode);
    if (keysym == XKB_KEY_NoSymbol || isDeadKey(keysym)) {
        return std::nullopt;
    }
    const char32_t codePoint = xkb_keysym_to_utf32(keysym);
    if (codePoint < 0x20 || (codePoint >= 0x7f && codePoint < 0xa0)) {
        return std::nullopt;
    }
    return QString::fromUcs4(&codePoint, 1);
}

QString textForKey(xkb_keymap* keymap, xkb_keycode_t keycode, quint16 xModifierState,
                   xkb_layout_index_t group)
{
    if (!keymap) {
        return {};
    }
    const StatePointer state = stateFor(keymap, xModifierState, group);
    if (!state) {
        return {};
    }
    char buffer[64] = {};
    const int length = xkb_state_key_get_utf8(state.get(), keycode, buffer, sizeof buffer);
    if (length <= 0) {
        return {};
    }
    return QString::fromUtf8(buffer, qMin<int>(length, int(sizeof buffer) - 1));
}

} // namespace platform
