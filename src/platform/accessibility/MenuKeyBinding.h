#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace platform {

// The key equivalent of a menu item in the terms the program reads:
// "AXMenuItemCmdChar", "AXMenuItemCmdVirtualKey" and "AXMenuItemCmdModifiers"
// (bit 0 Shift, bit 1 Option, bit 2 Control, bit 3 no Command).
// Toolkits publish key bindings as text in one of three forms, told apart by
// the text itself (toolkit names say too little: GTK 2 calls itself "GAIL"):
//   GTK (2 and 3) and Gecko: "mnemonic;path;accelerator", the path being the
//        mnemonics from the menu bar down ("<Alt>f:n") or empty, e.g.
//        "n;<Alt>f:n;<Primary>n", "s;<Alt>f:t:s;", ";;<Primary>1".
//   Gecko, outside a menu path: "mnemonic;accelerator", e.g. "<Alt>F;" for a
//        menu of the menu bar.
//   Qt:  the shortcut in key-sequence text ("Ctrl+Shift+S", "F1", "Alt+Right",
//        "Ctrl+;"), or, for an item without one, its mnemonic as "Alt+"
//        followed by the character as written in the title ("Alt+a"); some
//        versions publish both, joined by ";".
// Control maps to Control, Alt to Option, Shift to Shift and Super (Meta) to
// Command, so Ctrl+S reads as ⌃S. A mnemonic is never a key equivalent.
class MenuKeyBinding
{
public:
    enum class Form
    {
        // "mnemonic;path;accelerator"
        MnemonicPathAccelerator,
        // "mnemonic;accelerator"
        MnemonicAccelerator,
        // Qt's key sequences
        KeySequence
    };

    // The longest key-binding text parsed; a longer one names no key.
    static constexpr qsizetype MaximumTextLength = 256;

    // Parses a key-binding text in whichever form it is written; nothing
    // when it names no accelerator (a bare mnemonic, an empty text, a text
    // over MaximumTextLength or a key this table does not know). The item's
    // title tells Qt's mnemonics from real Alt shortcuts. Takes time linear
    // in the text's length.
    static std::optional<MenuKeyBinding> fromKeyBindingText(const QString& text,
                                                            const QString& title = QString());

    // The form a key-binding text is written in: the mnemonic forms when
    // their fields have the shape of mnemonics and mnemonic paths ("<Alt>f",
    // "n", "<Alt>f:t:s"), Qt's key sequences otherwise.
    static Form formOf(QStringView text);

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
    static std::optional<MenuKeyBinding> fromAccelerator(QStringView accelerator);
    static std::optional<MenuKeyBinding> fromQtSequence(QStringView sequence);

    QString m_character;
    std::optional<int> m_virtualKey;
    int m_modifiers = 0;
};

} // namespace platform
