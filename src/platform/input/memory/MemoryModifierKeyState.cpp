#include "platform/input/memory/MemoryModifierKeyState.h"

namespace platform {
namespace {

// The side bits that belong to a device-independent modifier bit.
constexpr std::pair<ModifierFlags, ModifierFlags> sidesOfModifier[] = {
    {ModifierFlag::Shift, ModifierFlag::LeftShift | ModifierFlag::RightShift},
    {ModifierFlag::Control, ModifierFlag::LeftControl | ModifierFlag::RightControl},
    {ModifierFlag::Option, ModifierFlag::LeftOption | ModifierFlag::RightOption},
    {ModifierFlag::Command, ModifierFlag::LeftCommand | ModifierFlag::RightCommand},
};

} // namespace

ModifierFlags MemoryModifierKeyState::completedFlags(ModifierFlags flags, quint32 nativeModifiers)
{
    Q_UNUSED(nativeModifiers);
    if (m_capsLockOn) {
        flags |= ModifierFlag::CapsLock;
    }
    for (const auto& [modifier, sides] : sidesOfModifier) {
        if (flags & modifier) {
            flags |= m_heldSides & sides;
        }
    }
    return flags;
}

} // namespace platform
