#pragma once

#include "platform/input/ModifierKeyState.h"

namespace platform {

// Modifier keys in memory: tests say whether Caps Lock is on and which side's
// modifier keys are held.
class MemoryModifierKeyState : public ModifierKeyState
{
public:
    ModifierFlags completedFlags(ModifierFlags flags, quint32 nativeModifiers) override;

    // Control surface for tests.
    void setCapsLockOn(bool on) { m_capsLockOn = on; }
    // The left/right bits of the modifier keys held from now on.
    void setHeldSides(ModifierFlags sides) { m_heldSides = sides & ModifierFlag::SideMask; }

private:
    bool m_capsLockOn = false;
    ModifierFlags m_heldSides = 0;
};

} // namespace platform
