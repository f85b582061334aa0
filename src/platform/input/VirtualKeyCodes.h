#pragma once

#include "platform/input/ModifierFlags.h"

#include <QtGlobal>
#include <optional>

namespace platform {

// Virtual key codes name key positions, independent of the keyboard layout:
// VirtualKey::A is the key right of Caps Lock whatever character the layout
// puts there. Settings store these numbers.
namespace VirtualKey {

inline constexpr quint16 A = 0x00;
inline constexpr quint16 S = 0x01;
inline constexpr quint16 D = 0x02;
inline constexpr quint16 F = 0x03;
inline constexpr quint16 H = 0x04;
inline constexpr quint16 G = 0x05;
inline constexpr quint16 Z = 0x06;
inline constexpr quint16 X = 0x07;
inline constexpr quint16 C = 0x08;
inline constexpr quint16 V = 0x09;
inline constexpr quint16 Section = 0x0A; // the extra key left of Z on ISO keyboards
inline constexpr quint16 B = 0x0B;
inline constexpr quint16 Q = 0x0C;
inline constexpr quint16 W = 0x0D;
inline constexpr quint16 E = 0x0E;
inline constexpr quint16 R = 0x0F;
inline constexpr quint16 Y = 0x10;
inline constexpr quint16 T = 0x11;
inline constexpr quint16 Digit1 = 0x12;
inline constexpr quint16 Digit2 = 0x13;
inline constexpr quint16 Digit3 = 0x14;
inline constexpr quint16 Digit4 = 0x15;
inline constexpr quint16 Digit6 = 0x16;
inline constexpr quint16 Digit5 = 0x17;
inline constexpr quint16 Equal = 0x18;
inline constexpr quint16 Digit9 = 0x19;
inline constexpr quint16 Digit7 = 0x1A;
inline constexpr quint16 Minus = 0x1B;
inline constexpr quint16 Digit8 = 0x1C;
inline constexpr quint16 Digit0 = 0x1D;
inline constexpr quint16 RightBracket = 0x1E;
inline constexpr quint16 O = 0x1F;
inline constexpr quint16 U = 0x20;
inline constexpr quint16 LeftBracket = 0x21;
inline constexpr quint16 I = 0x22;
inline constexpr quint16 P = 0x23;
inline constexpr quint16 Return = 0x24;
inline constexpr quint16 L = 0x25;
inline constexpr quint16 J = 0x26;
inline constexpr quint16 Quote = 0x27;
inline constexpr quint16 K = 0x28;
inline constexpr quint16 Semicolon = 0x29;
inline constexpr quint16 Backslash = 0x2A;
inline constexpr quint16 Comma = 0x2B;
inline constexpr quint16 Slash = 0x2C;
inline constexpr quint16 N = 0x2D;
inline constexpr quint16 M = 0x2E;
inline constexpr quint16 Period = 0x2F;
inline constexpr quint16 Tab = 0x30;
inline constexpr quint16 Space = 0x31;
inline constexpr quint16 Grave = 0x32;
inline constexpr quint16 Delete = 0x33;
inline constexpr quint16 Escape = 0x35;
inline constexpr quint16 RightCommand = 0x36;
inline constexpr quint16 Command = 0x37;
inline constexpr quint16 Shift = 0x38;
inline constexpr quint16 CapsLock = 0x39;
inline constexpr quint16 Option = 0x3A;
inline constexpr quint16 Control = 0x3B;
inline constexpr quint16 RightShift = 0x3C;
inline constexpr quint16 RightOption = 0x3D;
inline constexpr quint16 RightControl = 0x3E;
inline constexpr quint16 Function = 0x3F;
inline constexpr quint16 F17 = 0x40;
inline constexpr quint16 KeypadDecimal = 0x41;
inline constexpr quint16 KeypadMultiply = 0x43;
inline constexpr quint16 KeypadPlus = 0x45;
inline constexpr quint16 KeypadClear = 0x47; // where Num Lock sits on PC keyboards
inline constexpr quint16 VolumeUp = 0x48;
inline constexpr quint16 VolumeDown = 0x49;
inline constexpr quint16 Mute = 0x4A;
inline constexpr quint16 KeypadDivide = 0x4B;
inline constexpr quint16 KeypadEnter = 0x4C;
inline constexpr quint16 KeypadMinus = 0x4E;
inline constexpr quint16 F18 = 0x4F;
inline constexpr quint16 F19 = 0x50;
inline constexpr quint16 KeypadEquals = 0x51;
inline constexpr quint16 Keypad0 = 0x52;
inline constexpr quint16 Keypad1 = 0x53;
inline constexpr quint16 Keypad2 = 0x54;
inline constexpr quint16 Keypad3 = 0x55;
inline constexpr quint16 Keypad4 = 0x56;
inline constexpr quint16 Keypad5 = 0x57;
inline constexpr quint16 Keypad6 = 0x58;
inline constexpr quint16 Keypad7 = 0x59;
inline constexpr quint16 F20 = 0x5A;
inline constexpr quint16 Keypad8 = 0x5B;
inline constexpr quint16 Keypad9 = 0x5C;
inline constexpr quint16 Yen = 0x5D;
inline constexpr quint16 Underscore = 0x5E; // the JIS key right of the slash
inline constexpr quint16 KeypadComma = 0x5F;
inline constexpr quint16 F5 = 0x60;
inline constexpr quint16 F6 = 0x61;
inline constexpr quint16 F7 = 0x62;
inline constexpr quint16 F3 = 0x63;
inline constexpr quint16 F8 = 0x64;
inline constexpr quint16 F9 = 0x65;
inline constexpr quint16 F11 = 0x67;
inline constexpr quint16 F13 = 0x69;
inline constexpr quint16 F16 = 0x6A;
inline constexpr quint16 F14 = 0x6B;
inline constexpr quint16 F10 = 0x6D;
inline constexpr quint16 F12 = 0x6F;
inline constexpr quint16 F15 = 0x71;
inline constexpr quint16 Help = 0x72; // Insert on PC keyboards
inline constexpr quint16 Home = 0x73;
inline constexpr quint16 PageUp = 0x74;
inline constexpr quint16 ForwardDelete = 0x75;
inline constexpr quint16 F4 = 0x76;
inline constexpr quint16 End = 0x77;
inline constexpr quint16 F2 = 0x78;
inline constexpr quint16 PageDown = 0x79;
inline constexpr quint16 F1 = 0x7A;
inline constexpr quint16 LeftArrow = 0x7B;
inline constexpr quint16 RightArrow = 0x7C;
inline constexpr quint16 DownArrow = 0x7D;
inline constexpr quint16 UpArrow = 0x7E;

} // namespace VirtualKey

// The Linux input (evdev) code of the key at a virtual key code, or nothing for
// a code that names no key. An X server using the evdev rules numbers the same
// key evdev code + 8.
std::optional<quint16> evdevCodeForVirtualKeyCode(quint16 keyCode);
// The virtual key code of an evdev code, or nothing for a key without one.
std::optional<quint16> virtualKeyCodeForEvdevCode(quint16 evdevCode);

std::optional<quint8> xKeycodeForVirtualKeyCode(quint16 keyCode);
std::optional<quint16> virtualKeyCodeForXKeycode(quint8 xKeycode);

// The flags that a key event carries because of the key itself, whatever is
// held: NumericPad for the keypad and the arrow keys, Function for the F keys,
// the arrows and the navigation keys (Help, Home, End, Page Up/Down, Forward
// Delete). A grab must not ask for them as held modifiers.
ModifierFlags intrinsicModifierFlagsForKeyCode(quint16 keyCode);

} // namespace platform
