#pragma once

#include "platform/input/ModifierFlags.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace platform {

// A hot key as settings store it: a virtual key code and held modifiers.
struct KeyCombination
{
    quint16 keyCode = 0;
    // Shift, Control, Option and Command; other bits are not part of it.
    ModifierFlags modifiers = 0;

    bool operator==(const KeyCombination&) const = default;
};

// The texts desktops take for a key combination, outside of X11, written and
// read back. The key is named by its keysym on a US layout (the key at the
// position of M is "m" whatever the layout), since the stored combination
// names a key position. Control is Control, Option is Alt and Command is
// Super. A combination holding Function on a key that does not carry it by
// itself (the F keys, arrows and navigation keys do) has no text; nor has a
// key without a keysym name here.
namespace KeyCombinationText {

// The keysym name of the key at a virtual key code ("m", "F1", "space").
QString keySymbolName(quint16 keyCode);
std::optional<quint16> keyCodeForKeySymbolName(const QString& name);

// The desktop portal's form of a preferred trigger: "CTRL+ALT+SHIFT+LOGO+m".
QString portalTrigger(const KeyCombination& combination);
std::optional<KeyCombination> fromPortalTrigger(const QString& text);

// sway's key names for bindsym: "Mod4+Ctrl+Shift+Mod1+m".
QString swayBinding(const KeyCombination& combination);
std::optional<KeyCombination> fromSwayBinding(const QString& text);

// GNOME's (GTK's) accelerator text: "<Super><Control><Shift><Alt>m".
QString gnomeAccelerator(const KeyCombination& combination);
std::optional<KeyCombination> fromGnomeAccelerator(const QString& text);

} // namespace KeyCombinationText
} // namespace platform
