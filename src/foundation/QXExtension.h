#pragma once

#include "platform/input/ModifierFlags.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// Labels of keys and modifiers as menus and hot key fields show them: one glyph
// per modifier, a fixed name or glyph for special keys and the character of the
// current keyboard layout for all other keys; plus string trimming helpers.
namespace QXExtension {

// The label of a virtual key code, or, when returnKeyEquivalentCharacterIfPossible
// is set, the character a menu uses as its key equivalent where one exists
// (" " for Space, "0" for keypad 0, a line feed for Return). Nothing when the
// key has no label in the current keyboard layout.
std::optional<QString> stringRepresentingKeyCode(quint16 keyCode,
                                                 bool returnKeyEquivalentCharacterIfPossible);

// The glyphs of the modifiers in flags in the order Control, Option, Shift,
// Command; with reflectExactModifierKeys each glyph is preceded by the left
// and/or right side marker of the keys held. Empty without modifiers.
QString stringRepresentingModifierFlags(platform::ModifierFlags flags,
                                        bool reflectExactModifierKeys);

QString shiftKeyLabelString();
QString controlKeyLabelString();
QString alternateKeyLabelString();
QString commandKeyLabelString();

// The string in the case a key cap shows: upper case when it occurs in the
// letter table (a-z, ä, ö, ü and their capitals), lower case otherwise.
QString keyboardLabelString(const QString& string);

// The string without modifier glyphs, side markers and carets at either end;
// "^" when only such characters were there and the last was a caret.
QString stringByTrimmingModifierPrefix(const QString& string);

// The string without white space and line breaks at either end.
QString trimmedString(const QString& string);

} // namespace QXExtension
