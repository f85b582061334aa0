#pragma once

#include "platform/input/ModifierFlags.h"

#include <QString>

namespace platform {

// The text a menu shows in its shortcut column for a key equivalent: the
// modifier glyphs in the order Control, Option, Shift, Command (⌃⌥⇧⌘), then
// the key, upper-cased (an upper-case letter implies Shift), with glyphs or
// names for keys that have no printable character.
namespace KeyEquivalentText {

// Empty when there is no key.
QString displayText(const QString& key, ModifierFlags modifierMask);

} // namespace KeyEquivalentText
} // namespace platform
