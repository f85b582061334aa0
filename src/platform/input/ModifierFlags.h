#pragma once

#include <QtGlobal>

namespace platform {

// The event modifier flags that key events, hot keys and settings carry: the
// device-independent bits in the upper half and, for Shift, Control, Option and
// Command, device-dependent bits telling which side's key is held.
using ModifierFlags = quint64;

namespace ModifierFlag {

inline constexpr ModifierFlags CapsLock = 0x10000;
inline constexpr ModifierFlags Shift = 0x20000;
inline constexpr ModifierFlags Control = 0x40000;
inline constexpr ModifierFlags Option = 0x80000;
inline constexpr ModifierFlags Command = 0x100000;
inline constexpr ModifierFlags NumericPad = 0x200000;
inline constexpr ModifierFlags Help = 0x400000;
inline constexpr ModifierFlags Function = 0x800000;

inline constexpr ModifierFlags LeftControl = 0x1;
inline constexpr ModifierFlags LeftShift = 0x2;
inline constexpr ModifierFlags RightShift = 0x4;
inline constexpr ModifierFlags LeftCommand = 0x8;
inline constexpr ModifierFlags RightCommand = 0x10;
inline constexpr ModifierFlags LeftOption = 0x20;
inline constexpr ModifierFlags RightOption = 0x40;
inline constexpr ModifierFlags RightControl = 0x2000;

// All device-independent bits.
inline constexpr ModifierFlags DeviceIndependentMask = 0xFF0000;
// Shift, Control, Option and Command.
inline constexpr ModifierFlags StandardModifiersMask = 0x1E0000;
// All left/right bits.
inline constexpr ModifierFlags SideMask = 0x207F;

} // namespace ModifierFlag
} // namespace platform
