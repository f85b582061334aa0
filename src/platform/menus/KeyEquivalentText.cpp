#include "platform/menus/KeyEquivalentText.h"

#include <QCoreApplication>

namespace platform::KeyEquivalentText {

namespace {

// Keys without a printable character: control characters and the function
// key characters of the private use area (0xF700 ...).
QString keyName(char16_t key)
{
    switch (key) {
    case 0x03:
        return QStringLiteral("⌤");
    case 0x08:
    case 0x7F:
        return QStringLiteral("⌫");
    case 0x09:
        return QStringLiteral("⇥");
    case 0x19:
        return QStringLiteral("⇤");
    case 0x0A:
    case 0x0D:
        return QStringLiteral("↩");
    case 0x1B:
        return QStringLiteral("⎋");
    case 0x20:
        return QCoreApplication::translate("Trovix", "Space");
    case 0xF700:
        return QStringLiteral("↑");
    case 0xF701:
        return QStringLiteral("↓");
    case 0xF702:
        return QStringLiteral("←");
    case 0xF703:
        return QStringLiteral("→");
    case 0xF728:
        return QStringLiteral("⌦");
    case 0xF729:
        return QStringLiteral("↖");
    case 0xF72B:
        return QStringLiteral("↘");
    case 0xF72C:
        return QStringLiteral("⇞");
    case 0xF72D:
        return QStringLiteral("⇟");
    default:
        break;
    }
    if (key >= 0xF704 && key <= 0xF726) {
        return QStringLiteral("F%1").arg(key - 0xF704 + 1);
    }
    return {};
}

} // namespace

QString displayText(const QString& key, ModifierFlags modifierMask)
{
    if (key.isEmpty()) {
        return {};
    }
    QString keyText;
    if (key.size() == 1) {
        keyText = keyName(key.at(0).unicode());
    }
    ModifierFlags mask = modifierMask;
    if (keyText.isEmpty()) {
        // A key name ("Escape", "F1") keeps its spelling.
        keyText = key.size() == 1 ? key.toUpper() : key;
        // An upper-case letter stands for Shift with the letter; symbols
        // with case forms (circled letters) do not.
        if (key.size() == 1 && key.at(0).isUpper()) {
            mask |= ModifierFlag::Shift;
        }
    }

    QString text;
    if (mask & ModifierFlag::Control) {
        text += QStringLiteral("⌃");
    }
    if (mask & ModifierFlag::Option) {
        text += QStringLiteral("⌥");
    }
    if (mask & ModifierFlag::Shift) {
        text += QStringLiteral("⇧");
    }
    if (mask & ModifierFlag::Command) {
        text += QStringLiteral("⌘");
    }
    return text + keyText;
}

} // namespace platform::KeyEquivalentText
