#include "platform/input/x11/X11KeyEvents.h"

#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/XkbKeyText.h"

namespace platform {
namespace {

constexpr quint16 xModifierBits = 0xFF;

// XKB-aware clients see the effective group in bits 13 and 14 of an event's state.
xkb_layout_index_t groupOfEventState(quint16 state)
{
    return (state >> 13) & 0x3;
}

} // namespace

Event eventFromXcbKeyEvent(const xcb_key_press_event_t& event, xkb_keymap* keymap,
                           const X11ModifierMap& modifierMap,
                           const std::array<quint8, 32>& pressedKeys)
{
    Event result;
    result.type =
        (event.response_type & 0x7f) == XCB_KEY_PRESS ? Event::Type::KeyDown : Event::Type::KeyUp;
    result.keyCode = virtualKeyCodeForXKeycode(event.detail).value_or(Event::NoKeyCode);

    ModifierFlags flags = modifierMap.modifierFlagsForState(event.state);
    flags |= modifierMap.sideFlagsForPressedKeys(pressedKeys, flags);
    if (result.keyCode != Event::NoKeyCode) {
        flags |= intrinsicModifierFlagsForKeyCode(result.keyCode);
    }
    result.modifierFlags = flags;

    const xkb_layout_index_t group = groupOfEventState(event.state);
    result.characters = textForKey(keymap, event.detail, event.state & xModifierBits, group);
    result.charactersIgnoringModifiers =
        textForKey(keymap, event.detail, event.state & X11ModifierMap::ShiftMask, group);

    result.windowId = event.event;
    result.locationInWindow = QPointF(event.event_x, event.event_y);
    result.screenLocation = QPointF(event.root_x, event.root_y);
    result.timestamp = event.time / 1000.0;
    return result;
}

} // namespace platform
