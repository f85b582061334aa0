#include "platform/input/KeyCombinationText.h"

#include "platform/input/VirtualKeyCodes.h"

#include <QStringList>
#include <array>
#include <utility>

namespace platform::KeyCombinationText {
namespace {

struct KeyName
{
    quint16 keyCode;
    const char* name;
};

// The keysym each key has on a US layout without Shift.
constexpr KeyName keyNames[] = {
    {VirtualKey::A, "a"},
    {VirtualKey::B, "b"},
    {VirtualKey::C, "c"},
    {VirtualKey::D, "d"},
    {VirtualKey::E, "e"},
    {VirtualKey::F, "f"},
    {VirtualKey::G, "g"},
    {VirtualKey::H, "h"},
    {VirtualKey::I, "i"},
    {VirtualKey::J, "j"},
    {VirtualKey::K, "k"},
    {VirtualKey::L, "l"},
    {VirtualKey::M, "m"},
    {VirtualKey::N, "n"},
    {VirtualKey::O, "o"},
    {VirtualKey::P, "p"},
    {VirtualKey::Q, "q"},
    {VirtualKey::R, "r"},
    {VirtualKey::S, "s"},
    {VirtualKey::T, "t"},
    {VirtualKey::U, "u"},
    {VirtualKey::V, "v"},
    {VirtualKey::W, "w"},
    {VirtualKey::X, "x"},
    {VirtualKey::Y, "y"},
    {VirtualKey::Z, "z"},
    {VirtualKey::Digit0, "0"},
    {VirtualKey::Digit1, "1"},
    {VirtualKey::Digit2, "2"},
    {VirtualKey::Digit3, "3"},
    {VirtualKey::Digit4, "4"},
    {VirtualKey::Digit5, "5"},
    {VirtualKey::Digit6, "6"},
    {VirtualKey::Digit7, "7"},
    {VirtualKey::Digit8, "8"},
    {VirtualKey::Digit9, "9"},
    {VirtualKey::Minus, "minus"},
    {VirtualKey::Equal, "equal"},
    {VirtualKey::LeftBracket, "bracketleft"},
    {VirtualKey::RightBracket, "bracketright"},
    {VirtualKey::Semicolon, "semicolon"},
    {VirtualKey::Quote, "apostrophe"},
    {VirtualKey::Grave, "grave"},
    {VirtualKey::Backslash, "backslash"},
    {VirtualKey::Comma, "comma"},
    {VirtualKey::Period, "period"},
    {VirtualKey::Slash, "slash"},
    {VirtualKey::Section, "less"},
    {VirtualKey::Space, "space"},
    {VirtualKey::Return, "Return"},
    {VirtualKey::Tab, "Tab"},
    {VirtualKey::Escape, "Escape"},
    {VirtualKey::Delete, "BackSpace"},
    {VirtualKey::ForwardDelete, "Delete"},
    {VirtualKey::Help, "Insert"},
    {VirtualKey::Home, "Home"},
    {VirtualKey::End, "End"},
    {VirtualKey::PageUp, "Prior"},
    {VirtualKey::PageDown, "Next"},
    {VirtualKey::LeftArrow, "Left"},
    {VirtualKey::RightArrow, "Right"},
    {VirtualKey::UpArrow, "Up"},
    {VirtualKey::DownArrow, "Down"},
    {VirtualKey::F1, "F1"},
    {VirtualKey::F2, "F2"},
    {VirtualKey::F3, "F3"},
    {VirtualKey::F4, "F4"},
    {VirtualKey::F5, "F5"},
    {VirtualKey::F6, "F6"},
    {VirtualKey::F7, "F7"},
    {VirtualKey::F8, "F8"},
    {VirtualKey::F9, "F9"},
    {VirtualKey::F10, "F10"},
    {VirtualKey::F11, "F11"},
    {VirtualKey::F12, "F12"},
    {VirtualKey::F13, "F13"},
    {VirtualKey::F14, "F14"},
    {VirtualKey::F15, "F15"},
    {VirtualKey::F16, "F16"},
    {VirtualKey::F17, "F17"},
    {VirtualKey::F18, "F18"},
    {VirtualKey::F19, "F19"},
    {VirtualKey::F20, "F20"},
    {VirtualKey::Keypad0, "KP_0"},
    {VirtualKey::Keypad1, "KP_1"},
    {VirtualKey::Keypad2, "KP_2"},
    {VirtualKey::Keypad3, "KP_3"},
    {VirtualKey::Keypad4, "KP_4"},
    {VirtualKey::Keypad5, "KP_5"},
    {VirtualKey::Keypad6, "KP_6"},
    {VirtualKey::Keypad7, "KP_7"},
    {VirtualKey::Keypad8, "KP_8"},
    {VirtualKey::Keypad9, "KP_9"},
    {VirtualKey::KeypadDecimal, "KP_Decimal"},
    {VirtualKey::KeypadMultiply, "KP_Multiply"},
    {VirtualKey::KeypadPlus, "KP_Add"},
    {VirtualKey::KeypadMinus, "KP_Subtract"},
    {VirtualKey::KeypadDivide, "KP_Divide"},
    {VirtualKey::KeypadEnter, "KP_Enter"},
    {VirtualKey::KeypadEquals, "KP_Equal"},
    {VirtualKey::KeypadClear, "Num_Lock"},
};

constexpr ModifierFlags modifierBits =
    ModifierFlag::Shift | ModifierFlag::Control | ModifierFlag::Option | ModifierFlag::Command;

// Longer texts are no key combination of any desktop: refused before parsing.
constexpr qsizetype longestText = 256;

// One dialect's modifier names, in the order they are written.
using ModifierNames = std::array<std::pair<ModifierFlags, const char*>, 4>;

constexpr ModifierNames portalNames = {{{ModifierFlag::Control, "CTRL"},
                                        {ModifierFlag::Option, "ALT"},
                                        {ModifierFlag::Shift, "SHIFT"},
                                        {ModifierFlag::Command, "LOGO"}}};
constexpr ModifierNames swayNames = {{{ModifierFlag::Command, "Mod4"},
                                      {ModifierFlag::Control, "Ctrl"},
                                      {ModifierFlag::Shift, "Shift"},
                                      {ModifierFlag::Option, "Mod1"}}};
constexpr ModifierNames gnomeNames = {{{ModifierFlag::Command, "Super"},
                                       {ModifierFlag::Control, "Control"},
                                       {ModifierFlag::Shift, "Shift"},
                                       {ModifierFlag::Option, "Alt"}}};

// The held modifiers of a combination that has a text, or nothing.
std::optional<ModifierFlags> writableModifiers(const KeyCombination& combination)
{
    const ModifierFlags extra = combination.modifiers & ModifierFlag::DeviceIndependentMask &
                                ~modifierBits &
                                ~intrinsicModifierFlagsForKeyCode(combination.keyCode);
    // Function held on a key that does not carry it, Caps Lock, Help: no
    // desktop binds these.
    if ((extra & ~ModifierFlag::NumericPad) != 0 || keySymbolName(combination.keyCode).isEmpty()) {
        return std::nullopt;
    }
    return combination.modifiers & modifierBits;
}

QString joined(const KeyCombination& combination, const ModifierNames& names)
{
    const std::optional<ModifierFlags> modifiers = writableModifiers(combination);
    if (!modifiers) {
        return {};
    }
    QStringList parts;
    for (const auto& [flag, name] : names) {
        if ((*modifiers & flag) != 0) {
            parts.append(QLatin1String(name));
        }
    }
    parts.append(keySymbolName(combination.keyCode));
    return parts.join(u'+');
}

std::optional<ModifierFlags> modifierNamed(const QString& name, const ModifierNames& names)
{
    for (const auto& [flag, modifierName] : names) {
        if (name.compare(QLatin1String(modifierName), Qt::CaseInsensitive) == 0) {
            return flag;
        }
    }
    return std::nullopt;
}

// Modifiers and a key joined by '+'; each modifier once.
std::optional<KeyCombination> split(const QString& text, const ModifierNames& names,
                                    const QList<std::pair<QString, ModifierFlags>>& aliases = {})
{
    if (text.isEmpty() || text.size() > longestText) {
        return std::nullopt;
    }
    const QStringList parts = text.split(u'+');
    KeyCombination combination;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        std::optional<ModifierFlags> flag = modifierNamed(parts[i], names);
        for (const auto& [alias, aliasFlag] : aliases) {
            if (!flag && parts[i].compare(alias, Qt::CaseInsensitive) == 0) {
                flag = aliasFlag;
            }
        }
        if (!flag || (combination.modifiers & *flag) != 0) {
            return std::nullopt;
        }
        combination.modifiers |= *flag;
    }
    const std::optional<quint16> keyCode = keyCodeForKeySymbolName(parts.last());
    if (!keyCode) {
        return std::nullopt;
    }
    combination.keyCode = *keyCode;
    return combination;
}

} // namespace

QString keySymbolName(quint16 keyCode)
{
    for (const KeyName& key : keyNames) {
        if (key.keyCode == keyCode) {
            return QLatin1String(key.name);
        }
    }
    return {};
}

std::optional<quint16> keyCodeForKeySymbolName(const QString& name)
{
    // A single letter may come in capitals ("LOGO+M"); longer names are
    // case-sensitive keysyms, as the desktops read them.
    const bool letter = name.size() == 1 && name.at(0).isLetter();
    for (const KeyName& key : keyNames) {
        if (name.compare(QLatin1String(key.name),
                         letter ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0) {
            return key.keyCode;
        }
    }
    return std::nullopt;
}

QString portalTrigger(const KeyCombination& combination)
{
    return joined(combination, portalNames);
}

std::optional<KeyCombination> fromPortalTrigger(const QString& text)
{
    return split(text, portalNames);
}

QString swayBinding(const KeyCombination& combination)
{
    return joined(combination, swayNames);
}

std::optional<KeyCombination> fromSwayBinding(const QString& text)
{
    return split(text, swayNames,
                 {{QStringLiteral("Control"), ModifierFlag::Control},
                  {QStringLiteral("Alt"), ModifierFlag::Option},
                  {QStringLiteral("Super"), ModifierFlag::Command}});
}

QString gnomeAccelerator(const KeyCombination& combination)
{
    const std::optional<ModifierFlags> modifiers = writableModifiers(combination);
    if (!modifiers) {
        return {};
    }
    QString text;
    for (const auto& [flag, name] : gnomeNames) {
        if ((*modifiers & flag) != 0) {
            text += u'<' + QLatin1String(name) + u'>';
        }
    }
    return text + keySymbolName(combination.keyCode);
}

std::optional<KeyCombination> fromGnomeAccelerator(const QString& text)
{
    if (text.isEmpty() || text.size() > longestText) {
        return std::nullopt;
    }
    KeyCombination combination;
    qsizetype position = 0;
    while (position < text.size() && text.at(position) == u'<') {
        const qsizetype end = text.indexOf(u'>', position);
        if (end < 0) {
            return std::nullopt;
        }
        const QString name = text.mid(position + 1, end - position - 1);
        std::optional<ModifierFlags> flag = modifierNamed(name, gnomeNames);
        if (!flag && (name.compare(QLatin1String("Primary"), Qt::CaseInsensitive) == 0 ||
                      name.compare(QLatin1String("Ctrl"), Qt::CaseInsensitive) == 0)) {
            flag = ModifierFlag::Control;
        }
        if (!flag || (combination.modifiers & *flag) != 0) {
            return std::nullopt;
        }
        combination.modifiers |= *flag;
        position = end + 1;
    }
    const std::optional<quint16> keyCode = keyCodeForKeySymbolName(text.mid(position));
    if (!keyCode) {
        return std::nullopt;
    }
    combination.keyCode = *keyCode;
    return combination;
}

} // namespace platform::KeyCombinationText
