#pragma once

#include <QString>
#include <optional>

namespace platform {

// The key equivalent of a menu item in the terms the program reads:
// "AXMenuItemCmdChar", "AXMenuItemCmdVirtualKey" and "AXMenuItemCmdModifiers"
// (bit 0 Shift, bit 1 Option, bit 2 Control, bit 3 no Command).
// Toolkits publish key bindings as text in one of two dialects:
//   GTK: "mnemonic;path;accelerator", e.g. "w;<Alt>f:w;<Primary><Shift>n"
//   Qt:  "Ctrl+Shift+S", "F1", "Alt+Right"
// Control maps to Control, Alt to Option, Shift to Shift and Super (Meta) to
// Command, so Ctrl+S reads as ⌃S.
class MenuKeyBinding
{
public:
    // Parses either dialect; nothing when the text names no accelerator (a
    // bare mnemonic, an empty text or a key this table does not know).
    static std::optional<MenuKeyBinding> fromKeyBindingText(const QString& text);

    // A letter (upper case), digit or punctuation character; empty for named keys.
    QString character() const { return m_character; }
    // The virtual key code of a named key (F1, arrows, Return ...).
    std::optional<int> virtualKey() const { return m_virtualKey; }
    int modifiers() const { return m_modifiers; }

private:
    QString m_character;
    std::optional<int> m_virtualKey;
    int m_modifiers = 0;
};

} // namespace platform
