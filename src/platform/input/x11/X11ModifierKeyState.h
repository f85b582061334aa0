#pragma once

#include "platform/input/ModifierKeyState.h"

namespace platform {

// Modifier keys on an X server: Caps Lock from the Lock bit of the event's X
// state, the sides from the keys the server reports down (see X11Keyboard).
class X11ModifierKeyState : public ModifierKeyState
{
public:
    ModifierFlags completedFlags(ModifierFlags flags, quint32 nativeModifiers) override;
};

} // namespace platform
