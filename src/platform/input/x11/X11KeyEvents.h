#pragma once

#include "platform/input/Event.h"
#include "platform/input/x11/X11ModifierMap.h"

#include <array>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon.h>

namespace platform {

// The platform event of an X key press or release (release events share the
// press event's layout): the virtual key code of the key (Event::NoKeyCode for
// a key without one); the flags of the held modifiers, the sides of the
// modifier keys that are down (pressedKeys, a 32-byte X key vector) and the
// key's own flags; its text with the event's modifiers and group, and with
// Shift alone; the window, both positions, and the server time in seconds.
Event eventFromXcbKeyEvent(const xcb_key_press_event_t& event, xkb_keymap* keymap,
                           const X11ModifierMap& modifierMap,
                           const std::array<quint8, 32>& pressedKeys);

} // namespace platform
