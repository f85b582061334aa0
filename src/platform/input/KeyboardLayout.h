#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace platform {

// The keyboard layout the user types with right now.
class KeyboardLayout
{
public:
    virtual ~KeyboardLayout();

    // The text the key at a virtual key code produces when it is pressed with
    // no modifier held, in the layout group currently locked. Nothing for a
    // dead key, for a code the keyboard does not have, for a key that produces
    // no text (modifiers, function keys) or when no layout can be read.
    virtual std::optional<QString> characterForKeyCode(quint16 keyCode) const = 0;

    // The process-wide current layout: the X server's keyboard, followed as it
    // changes, unless a test installed another one. Never fails: without an X
    // connection every query answers nothing.
    static KeyboardLayout& current();
    // Replaces the process-wide layout; an empty pointer restores the default.
    static void setCurrent(std::unique_ptr<KeyboardLayout> layout);

protected:
    KeyboardLayout() = default;
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;
};

} // namespace platform
