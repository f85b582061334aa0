#include "platform/input/x11/X11ModifierKeyState.h"

#include "platform/input/x11/X11Keyboard.h"

namespace platform {

ModifierFlags X11ModifierKeyState::completedFlags(ModifierFlags flags, quint32 nativeModifiers)
{
    if (nativeModifiers & X11ModifierMap::LockMask) {
        flags |= ModifierFlag::CapsLock;
    }
    X11Keyboard* keyboard = X11Keyboard::instance();
    // Sides matter only for held modifiers; without any the server is not asked.
    if (!keyboard || (flags & ModifierFlag::StandardModifiersMask) == 0) {
        return flags;
    }
    const std::array<quint8, 32> pressedKeys = keyboard->pressedKeys();
    return flags | keyboard->modifierMap().sideFlagsForPressedKeys(pressedKeys, flags);
}

} // namespace platform
