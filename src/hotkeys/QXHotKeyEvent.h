#pragma once

#include "platform/input/Event.h"

#include <QString>

// What the hot key recorder shows for a key event.
namespace QXHotKeyEvent {

// The glyphs of the event's modifiers (with the sides of the keys when hot
// keys require exact modifier matches) followed by the key's name in the
// current keyboard layout, or, for a key without one, the key cap form of
// the text the key types without modifiers.
QString visualKeyboardEventRepresentation(const platform::Event& event);

} // namespace QXHotKeyEvent
