#pragma once

#include <QChar>

// The character classes that trimming and line splitting use.
namespace CharacterSets {

// Line feed, vertical tab, form feed, carriage return, next line and the
// Unicode line and paragraph separators.
inline bool isLineBreak(QChar character)
{
    switch (character.unicode()) {
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

// Tab and the space separators (space, no-break space and the other widths);
// no line breaks.
inline bool isWhiteSpace(QChar character)
{
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

inline bool isWhiteSpaceOrLineBreak(QChar character)
{
    return isWhiteSpace(character) || isLineBreak(character);
}

} // namespace CharacterSets
