#include "platform/input/x11/X11ModifierMap.h"

#include <initializer_list>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace platform {
namespace {

constexpr int firstModN = 3; // Mod1

bool holdsAnyOf(const QList<quint32>& keysyms, std::initializer_list<quint32> wanted)
{
    for (quint32 keysym : wanted) {
        if (keysyms.contains(keysym)) {
            return true;
        }
    }
    return false;
}

ModifierFlags sideFlagForKeysym(quint32 keysym)
{
    switch (keysym) {
    case XKB_KEY_Shift_L:
        return ModifierFlag::LeftShift;
    case XKB_KEY_Shift_R:
        return ModifierFlag::RightShift;
    case XKB_KEY_Control_L:
        return ModifierFlag::LeftControl;
    case XKB_KEY_Control_R:
        return ModifierFlag::RightControl;
    case XKB_KEY_Alt_L:
        return ModifierFlag::LeftOption;
    case XKB_KEY_Alt_R:
        return ModifierFlag::RightOption;
    case XKB_KEY_Super_L:
        return ModifierFlag::LeftCommand;
    case XKB_KEY_Super_R:
        return ModifierFlag::RightCommand;
    default:
        return 0;
    }
}

// The device-independent bit a side bit belongs to.
ModifierFlags modifierOfSideFlag(ModifierFlags side)
{
    if (side & (ModifierFlag::LeftShift | ModifierFlag::RightShift)) {
        return ModifierFlag::Shift;
    }
    if (side & (ModifierFlag::LeftControl | ModifierFlag::RightControl)) {
        return ModifierFlag::Control;
    }
    if (side & (ModifierFlag::LeftOption | ModifierFlag::RightOption)) {
        return ModifierFlag::Option;
    }
    if (side & (ModifierFlag::LeftCommand | ModifierFlag::RightCommand)) {
        return ModifierFlag::Command;
    }
    return 0;
}

} // namespace

X11ModifierMap X11ModifierMap::fromServerMapping(
    const std::array<QList<quint8>, ModifierCount>& keycodesOfModifier,
    const KeysymsOfKeycode& keysymsOfKeycode)
{
    X11ModifierMap map;
    // Alt is preferred for Option; a server that maps only Meta still has one.
    quint16 metaMask = 0;
    for (int modifier = firstModN; modifier < ModifierCount; ++modifier) {
        QList<quint32> keysyms;
        for (quint8 keycode : keycodesOfModifier[modifier]) {
            if (keycode != 0) {
                keysyms.append(keysymsOfKeycode(keycode));
            }
        }
        const quint16 mask = quint16(1u << modifier);
        if (!map.m_optionMask && holdsAnyOf(keysyms, {XKB_KEY_Alt_L, XKB_KEY_Alt_R})) {
            map.m_optionMask = mask;
        }
        if (!metaMask && holdsAnyOf(keysyms, {XKB_KEY_Meta_L, XKB_KEY_Meta_R})) {
            metaMask = mask;
        }
        if (!map.m_commandMask && holdsAnyOf(keysyms, {XKB_KEY_Super_L, XKB_KEY_Super_R})) {
            map.m_commandMask = mask;
        }
        if (!map.m_functionMask && holdsAnyOf(keysyms, {XKB_KEY_XF86Fn})) {
            map.m_functionMask = mask;
        }
        if (!map.m_numLockMask && holdsAnyOf(keysyms, {XKB_KEY_Num_Lock})) {
            map.m_numLockMask = mask;
        }
        if (!map.m_scrollLockMask && holdsAnyOf(keysyms, {XKB_KEY_Scroll_Lock})) {
            map.m_scrollLockMask = mask;
        }
    }
    if (!map.m_optionMask) {
        map.m_optionMask = metaMask;
    }

    for (int keycode = 8; keycode <= 255; ++keycode) {
        for (quint32 keysym : keysymsOfKeycode(quint8(keycode))) {
            if (const ModifierFlags side = sideFlagForKeysym(keysym)) {
                map.m_sideFlagByKeycode.insert(quint8(keycode), side);
                break;
            }
        }
    }
    return map;
}

ModifierFlags X11ModifierMap::modifierFlagsForState(quint16 state) const
{
    ModifierFlags flags = 0;
    if (state & ShiftMask) {
        flags |= ModifierFlag::Shift;
    }
    if (state & LockMask) {
        flags |= ModifierFlag::CapsLock;
    }
    if (state & ControlMask) {
        flags |= ModifierFlag::Control;
    }
    if (m_optionMask && (state & m_optionMask)) {
        flags |= ModifierFlag::Option;
    }
    if (m_commandMask && (state & m_commandMask)) {
        flags |= ModifierFlag::Command;
    }
    if (m_functionMask && (state & m_functionMask)) {
        flags |= ModifierFlag::Function;
    }
    return flags;
}

std::optional<quint16> X11ModifierMap::grabModifiersForFlags(ModifierFlags flags) const
{
    quint16 modifiers = 0;
    if (flags & ModifierFlag::Shift) {
        modifiers |= ShiftMask;
    }
    if (flags & ModifierFlag::Control) {
        modifiers |= ControlMask;
    }
    const std::pair<ModifierFlags, quint16> modNs[] = {
        {ModifierFlag::Option, m_optionMask},
        {ModifierFlag::Command, m_commandMask},
        {ModifierFlag::Function, m_functionMask},
    };
    for (const auto& [flag, mask] : modNs) {
        if (flags & flag) {
            if (mask == 0) {
                return std::nullopt;
            }
            modifiers |= mask;
        }
    }
    return modifiers;
}

quint16 X11ModifierMap::lockModifiersMask() const
{
    return LockMask | m_numLockMask | m_scrollLockMask;
}

QList<quint16> X11ModifierMap::lockModifierCombinations() const
{
    QList<quint16> lockBits;
    for (int bit = 0; bit < ModifierCount; ++bit) {
        if (lockModifiersMask() & (1u << bit)) {
            lockBits.append(quint16(1u << bit));
        }
    }
    QList<quint16> combinations;
    for (quint32 subset = 0; subset < (1u << lockBits.size()); ++subset) {
        quint16 combination = 0;
        for (int i = 0; i < lockBits.size(); ++i) {
            if (subset & (1u << i)) {
                combination |= lockBits[i];
            }
        }
        combinations.append(combination);
    }
    return combinations;
}

ModifierFlags X11ModifierMap::sideFlagForKeycode(quint8 keycode) const
{
    return m_sideFlagByKeycode.value(keycode, 0);
}

ModifierFlags X11ModifierMap::sideFlagsForPressedKeys(const std::array<quint8, 32>& pressedKeys,
                                                      ModifierFlags flags) const
{
    ModifierFlags sides = 0;
    for (auto it = m_sideFlagByKeycode.cbegin(); it != m_sideFlagByKeycode.cend(); ++it) {
        const quint8 keycode = it.key();
        const bool down = pressedKeys[keycode / 8] & (1u << (keycode % 8));
        if (down && (flags & modifierOfSideFlag(it.value()))) {
            sides |= it.value();
        }
    }
    return sides;
}

} // namespace platform
