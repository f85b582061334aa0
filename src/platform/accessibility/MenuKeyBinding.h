#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace platform {

// The key equivalent of a menu item in the terms the program reads:
// "AXMenuItemCmdChar", "AXMenuItemCmdVirtualKey" and "AXMenuItemCmdModifiers"
// (bit 0 Shift, bit 1 Option, bit 2 Control, bit 3 no Command).
// Toolkits publish key bindings as text in one of two dialects:
//   GTK: "mnemonic;path;accelerator", e.g. "w;<Alt>f:w;<Primary><Shift>n"
//   Qt:  the shortcut in key-sequence text ("Ctrl+Shift+S", "F1", "Alt+Right",
//        "Ctrl+;"), or, for an item without one, its mnemonic as "Alt+"
//        followed by the character as written in the title ("Alt+a"); some
//        versions publish both, joined by ";".
// Control maps to Control, Alt to Option, Shift to Shift and Super (Meta) to
// Command, so Ctrl+S reads as ⌃S. A mnemonic is never a key equivalent.
class MenuKeyBinding
{
public:
    enum class Dialect
    {
        Gtk,
        Qt
    };

    // The longest key-binding text parsed; a longer one names no key.
    static constexpr qsizetype MaximumTextLength = 256;

    // Parses the text of a dialect; nothing when it names no accelerator (a
    // bare mnemonic, an empty text, a text over MaximumTextLength or a key
    // this table does not know). The item's title tells Qt's mnemonics from
    // real Alt shortcuts. Takes time linear in the text's length.
    static std::optional<MenuKeyBinding> fromKeyBindingText(const QString& text, Dialect dialect,
                                                            const QString& title = QString());

    // Whether a Qt key sequence is the mnemonic of the item titled so: "Alt+"
    // and one character that is lower case (Qt writes the keys of real
    // shortcuts in upper case) or occurs in the title.
    static bool isQtMnemonic(const QString& sequence, const QString& title);

    // A letter (upper case), digit or punctuation character; empty for named keys.
    QString character() const { return m_character; }
    // The virtual key code of a named key (F1, arrows, Return ...).
    std::optional<int> virtualKey() const { return m_virtualKey; }
    int modifiers() const { return m_modifiers; }

private:
    static std::optional<MenuKeyBinding> fromGtkText(QStringView text);
    static std::optional<MenuKeyBinding> fromQtSequence(QStringView sequence);

    QString m_character;
    std::optional<int> m_virtualKey;
    int m_modifiers = 0;
};

} // namespace platform
