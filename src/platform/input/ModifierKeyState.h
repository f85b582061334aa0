#pragma once

#include "platform/input/ModifierFlags.h"

#include <QtGlobal>
#include <memory>

namespace platform {

// What the toolkit's key events leave out of the modifier flags: whether Caps
// Lock is on and which side's Shift, Control, Option and Command keys are held.
class ModifierKeyState
{
public:
    virtual ~ModifierKeyState();

    // The flags of a key event of one of the program's windows, given with
    // its device-independent modifier bits and the native modifier state the
    // window system reported with it, completed with Caps Lock when it is on
    // and the left/right bits of the modifier keys held now (only for
    // modifiers the flags hold).
    virtual ModifierFlags completedFlags(ModifierFlags flags, quint32 nativeModifiers) = 0;

    // The process-wide state: the X server's keyboard when the application
    // runs on one, else one that adds nothing.
    static ModifierKeyState& current();
    // Replaces the process-wide state (tests install the memory one); an
    // empty pointer restores the default.
    static void setCurrent(std::unique_ptr<ModifierKeyState> state);

protected:
    ModifierKeyState() = default;
    ModifierKeyState(const ModifierKeyState&) = delete;
    ModifierKeyState& operator=(const ModifierKeyState&) = delete;
};

} // namespace platform
