#include "platform/input/VirtualKeyCodes.h"

#include <linux/input-event-codes.h>

namespace platform {
namespace {

struct KeyPosition
{
    quint16 keyCode;
    quint16 evdevCode;
};

// Every virtual key code and the key at the same position of a PC keyboard.
constexpr KeyPosition keyPositions[] = {
    {VirtualKey::A, KEY_A},
    {VirtualKey::S, KEY_S},
    {VirtualKey::D, KEY_D},
    {VirtualKey::F, KEY_F},
    {VirtualKey::H, KEY_H},
    {VirtualKey::G, KEY_G},
    {VirtualKey::Z, KEY_Z},
    {VirtualKey::X, KEY_X},
    {VirtualKey::C, KEY_C},
    {VirtualKey::V, KEY_V},
    {VirtualKey::Section, KEY_102ND},
    {VirtualKey::B, KEY_B},
    {VirtualKey::Q, KEY_Q},
    {VirtualKey::W, KEY_W},
    {VirtualKey::E, KEY_E},
    {VirtualKey::R, KEY_R},
    {VirtualKey::Y, KEY_Y},
    {VirtualKey::T, KEY_T},
    {VirtualKey::Digit1, KEY_1},
    {VirtualKey::Digit2, KEY_2},
    {VirtualKey::Digit3, KEY_3},
    {VirtualKey::Digit4, KEY_4},
    {VirtualKey::Digit6, KEY_6},
    {VirtualKey::Digit5, KEY_5},
    {VirtualKey::Equal, KEY_EQUAL},
    {VirtualKey::Digit9, KEY_9},
    {VirtualKey::Digit7, KEY_7},
    {VirtualKey::Minus, KEY_MINUS},
    {VirtualKey::Digit8, KEY_8},
    {VirtualKey::Digit0, KEY_0},
    {VirtualKey::RightBracket, KEY_RIGHTBRACE},
    {VirtualKey::O, KEY_O},
    {VirtualKey::U, KEY_U},
    {VirtualKey::LeftBracket, KEY_LEFTBRACE},
    {VirtualKey::I, KEY_I},
    {VirtualKey::P, KEY_P},
    {VirtualKey::Return, KEY_ENTER},
    {VirtualKey::L, KEY_L},
    {VirtualKey::J, KEY_J},
    {VirtualKey::Quote, KEY_APOSTROPHE},
    {VirtualKey::K, KEY_K},
    {VirtualKey::Semicolon, KEY_SEMICOLON},
    {VirtualKey::Backslash, KEY_BACKSLASH},
    {VirtualKey::Comma, KEY_COMMA},
    {VirtualKey::Slash, KEY_SLASH},
    {VirtualKey::N, KEY_N},
    {VirtualKey::M, KEY_M},
    {VirtualKey::Period, KEY_DOT},
    {VirtualKey::Tab, KEY_TAB},
    {VirtualKey::Space, KEY_SPACE},
    {VirtualKey::Grave, KEY_GRAVE},
    {VirtualKey::Delete, KEY_BACKSPACE},
    {VirtualKey::Escape, KEY_ESC},
    {VirtualKey::RightCommand, KEY_RIGHTMETA},
    {VirtualKey::Command, KEY_LEFTMETA},
    {VirtualKey::Shift, KEY_LEFTSHIFT},
    {VirtualKey::CapsLock, KEY_CAPSLOCK},
    {VirtualKey::Option, KEY_LEFTALT},
    {VirtualKey::Control, KEY_LEFTCTRL},
    {VirtualKey::RightShift, KEY_RIGHTSHIFT},
    {VirtualKey::RightOption, KEY_RIGHTALT},
    {VirtualKey::RightControl, KEY_RIGHTCTRL},
    {VirtualKey::Function, KEY_FN},
    {VirtualKey::F17, KEY_F17},
    {VirtualKey::KeypadDecimal, KEY_KPDOT},
    {VirtualKey::KeypadMultiply, KEY_KPASTERISK},
    {VirtualKey::KeypadPlus, KEY_KPPLUS},
    {VirtualKey::KeypadClear, KEY_NUMLOCK},
    {VirtualKey::VolumeUp, KEY_VOLUMEUP},
    {VirtualKey::VolumeDown, KEY_VOLUMEDOWN},
    {VirtualKey::Mute, KEY_MUTE},
    {VirtualKey::KeypadDivide, KEY_KPSLASH},
    {VirtualKey::KeypadEnter, KEY_KPENTER},
    {VirtualKey::KeypadMinus, KEY_KPMINUS},
    {VirtualKey::F18, KEY_F18},
    {VirtualKey::F19, KEY_F19},
    {VirtualKey::KeypadEquals, KEY_KPEQUAL},
    {VirtualKey::Keypad0, KEY_KP0},
    {VirtualKey::Keypad1, KEY_KP1},
    {VirtualKey::Keypad2, KEY_KP2},
    {VirtualKey::Keypad3, KEY_KP3},
    {VirtualKey::Keypad4, KEY_KP4},
    {VirtualKey::Keypad5, KEY_KP5},
    {VirtualKey::Keypad6, KEY_KP6},
    {VirtualKey::Keypad7, KEY_KP7},
    {VirtualKey::F20, KEY_F20},
    {VirtualKey::Keypad8, KEY_KP8},
    {VirtualKey::Keypad9, KEY_KP9},
    {VirtualKey::Yen, KEY_YEN},
    {VirtualKey::Underscore, KEY_RO},
    {VirtualKey::KeypadComma, KEY_KPJPCOMMA},
    {VirtualKey::F5, KEY_F5},
    {VirtualKey::F6, KEY_F6},
    {VirtualKey::F7, KEY_F7},
    {VirtualKey::F3, KEY_F3},
    {VirtualKey::F8, KEY_F8},
    {VirtualKey::F9, KEY_F9},
    {VirtualKey::F11, KEY_F11},
    {VirtualKey::F13, KEY_F13},
    {VirtualKey::F16, KEY_F16},
    {VirtualKey::F14, KEY_F14},
    {VirtualKey::F10, KEY_F10},
    {VirtualKey::F12, KEY_F12},
    {VirtualKey::F15, KEY_F15},
    {VirtualKey::Help, KEY_INSERT},
    {VirtualKey::Home, KEY_HOME},
    {VirtualKey::PageUp, KEY_PAGEUP},
    {VirtualKey::ForwardDelete, KEY_DELETE},
    {VirtualKey::F4, KEY_F4},
    {VirtualKey::End, KEY_END},
    {VirtualKey::F2, KEY_F2},
    {VirtualKey::PageDown, KEY_PAGEDOWN},
    {VirtualKey::F1, KEY_F1},
    {VirtualKey::LeftArrow, KEY_LEFT},
    {VirtualKey::RightArrow, KEY_RIGHT},
    {VirtualKey::DownArrow, KEY_DOWN},
    {VirtualKey::UpArrow, KEY_UP},
};

// Keys that share a virtual key code with a key of the table above: a real Help
// key reads as the Help position like Insert does.
constexpr KeyPosition additionalEvdevCodes[] = {
    {VirtualKey::Help, KEY_HELP},
};

// X key codes are one byte wide and start at 8.
constexpr quint16 xKeycodeOffset = 8;
constexpr quint16 largestXKeycode = 255;

} // namespace

std::optional<quint16> evdevCodeForVirtualKeyCode(quint16 keyCode)
{
    for (const KeyPosition& position : keyPositions) {
        if (position.keyCode == keyCode) {
            return position.evdevCode;
        }
    }
    return std::nullopt;
}

std::optional<quint16> virtualKeyCodeForEvdevCode(quint16 evdevCode)
{
    for (const KeyPosition& position : keyPositions) {
        if (position.evdevCode == evdevCode) {
            return position.keyCode;
        }
    }
    for (const KeyPosition& position : additionalEvdevCodes) {
        if (position.evdevCode == evdevCode) {
            return position.keyCode;
        }
    }
    return std::nullopt;
}

std::optional<quint8> xKeycodeForVirtualKeyCode(quint16 keyCode)
{
    const std::optional<quint16> evdevCode = evdevCodeForVirtualKeyCode(keyCode);
    if (!evdevCode || *evdevCode + xKeycodeOffset > largestXKeycode) {
        return std::nullopt;
    }
    return static_cast<quint8>(*evdevCode + xKeycodeOffset);
}

std::optional<quint16> virtualKeyCodeForXKeycode(quint8 xKeycode)
{
    if (xKeycode < xKeycodeOffset) {
        return std::nullopt;
    }
    return virtualKeyCodeForEvdevCode(xKeycode - xKeycodeOffset);
}

ModifierFlags intrinsicModifierFlagsForKeyCode(quint16 keyCode)
{
    using namespace VirtualKey;
    switch (keyCode) {
    case LeftArrow:
    case RightArrow:
    case DownArrow:
    case UpArrow:
        return ModifierFlag::NumericPad | ModifierFlag::Function;
    case KeypadDecimal:
    case KeypadMultiply:
    case KeypadPlus:
    case KeypadClear:
    case KeypadDivide:
    case KeypadEnter:
    case KeypadMinus:
    case KeypadEquals:
    case KeypadComma:
    case Keypad0:
    case Keypad1:
    case Keypad2:
    case Keypad3:
    case Keypad4:
    case Keypad5:
    case Keypad6:
    case Keypad7:
    case Keypad8:
    case Keypad9:
        return ModifierFlag::NumericPad;
    case F1:
    case F2:
    case F3:
    case F4:
    case F5:
    case F6:
    case F7:
    case F8:
    case F9:
    case F10:
    case F11:
    case F12:
    case F13:
    case F14:
    case F15:
    case F16:
    case F17:
    case F18:
    case F19:
    case F20:
    case Help:
    case Home:
    case End:
    case PageUp:
    case PageDown:
    case ForwardDelete:
        return ModifierFlag::Function;
    default:
        return 0;
    }
}

} // namespace platform
