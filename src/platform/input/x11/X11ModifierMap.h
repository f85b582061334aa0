#pragma once

#include "platform/input/ModifierFlags.h"

#include <QHash>
#include <QList>
#include <QtGlobal>
#include <array>
#include <functional>
#include <optional>

namespace platform {

// What the eight X modifier bits mean on a given server, found from its
// modifier mapping and the keysyms of the keys in it: which ModN is Alt (for
// Option), Super (for Command), Num Lock, Scroll Lock and, where a keyboard
// has one, Fn (for Function); and which keys are the left and right Shift,
// Control, Alt and Super keys. Nothing here talks to the server.
class X11ModifierMap
{
public:
    // The X modifier bits: Shift, Lock, Control, Mod1 ... Mod5.
    static constexpr quint16 ShiftMask = 0x01;
    static constexpr quint16 LockMask = 0x02;
    static constexpr quint16 ControlMask = 0x04;
    static constexpr int ModifierCount = 8;

    using KeysymsOfKeycode = std::function<QList<quint32>(quint8 keycode)>;

    // A map that knows only Shift, Lock and Control.
    X11ModifierMap() = default;
    // keycodesOfModifier[i] lists the keys of modifier i as the server's
    // modifier mapping gives them (zero entries are ignored); keysymsOfKeycode
    // answers every keysym of a key, for all keys 8 to 255.
    static X11ModifierMap
    fromServerMapping(const std::array<QList<quint8>, ModifierCount>& keycodesOfModifier,
                      const KeysymsOfKeycode& keysymsOfKeycode);

    // The X modifier that stands for Option (Alt), Command (Super) or
    // Function (Fn); nothing when no ModN carries such a key.
    std::optional<quint16> optionMask() const { return maskOrNothing(m_optionMask); }
    std::optional<quint16> commandMask() const { return maskOrNothing(m_commandMask); }
    std::optional<quint16> functionMask() const { return maskOrNothing(m_functionMask); }
    // The ModN holding Num Lock or Scroll Lock; 0 when none does.
    quint16 numLockMask() const { return m_numLockMask; }
    quint16 scrollLockMask() const { return m_scrollLockMask; }

    // The device-independent flags of an X key or button state. Num Lock,
    // Scroll Lock and the pointer buttons leave no trace; Lock reads as Caps Lock.
    ModifierFlags modifierFlagsForState(quint16 state) const;

    // The X modifiers to grab for the held-modifier flags (Shift, Control,
    // Option, Command, Function); Caps Lock, Numeric pad, Help and the side
    // bits are ignored. Nothing when a flag has no X modifier on this server.
    std::optional<quint16> grabModifiersForFlags(ModifierFlags flags) const;

    // Lock, Num Lock's and Scroll Lock's modifiers together.
    quint16 lockModifiersMask() const;
    // Every combination of the lock modifiers, starting with none: a grab
    // made for each of them works whatever locks are on.
    QList<quint16> lockModifierCombinations() const;

    // The side bit (left/right Shift, Control, Option, Command) of a key, or 0.
    ModifierFlags sideFlagForKeycode(quint8 keycode) const;
    // The side bits of the keys that are down in a 32-byte X key vector (bit
    // k set for key k), kept only where the flags hold the matching
    // device-independent bit.
    ModifierFlags sideFlagsForPressedKeys(const std::array<quint8, 32>& pressedKeys,
                                          ModifierFlags flags) const;

private:
    static std::optional<quint16> maskOrNothing(quint16 mask)
    {
        return mask != 0 ? std::optional<quint16>(mask) : std::nullopt;
    }

    quint16 m_optionMask = 0;
    quint16 m_commandMask = 0;
    quint16 m_functionMask = 0;
    quint16 m_numLockMask = 0;
    quint16 m_scrollLockMask = 0;
    QHash<quint8, ModifierFlags> m_sideFlagByKeycode;
};

} // namespace platform
