#include "foundation/QXExtension.h"

#include "foundation/CharacterSets.h"
#include "platform/input/KeyboardLayout.h"

namespace QXExtension {
namespace {

using platform::ModifierFlags;
namespace ModifierFlag = platform::ModifierFlag;

constexpr char16_t shiftGlyph = 0x21E7;
constexpr char16_t controlGlyph = 0x2303;
constexpr char16_t optionGlyph = 0x2325;
constexpr char16_t commandGlyph = 0x2318;
constexpr char16_t leftSideMarker = 0x24C1;
constexpr char16_t rightSideMarker = 0x24C7;

struct NamedKey
{
    quint16 keyCode;
    const char* label;
    // The key equivalent character, or nullptr for none.
    const char* keyEquivalent;
    // The label is returned even when the key equivalent character is asked for.
    bool labelAlways;
};

// Searched in this order, before the glyph keys.
constexpr NamedKey namedKeys[] = {
    {122, "F1", nullptr, true},     {120, "F2", nullptr, true},  {99, "F3", nullptr, true},
    {118, "F4", nullptr, true},     {96, "F5", nullptr, true},   {97, "F6", nullptr, true},
    {98, "F7", nullptr, true},      {100, "F8", nullptr, true},  {101, "F9", nullptr, true},
    {109, "F10", nullptr, true},    {103, "F11", nullptr, true}, {111, "F12", nullptr, true},
    {105, "F13", nullptr, true},    {107, "F14", nullptr, true}, {113, "F15", nullptr, true},
    {106, "F16", nullptr, true},    {64, "F17", nullptr, true},  {79, "F18", nullptr, true},
    {80, "F19", nullptr, true},     {49, "Space", " ", false},   {53, "Escape", nullptr, true},
    {114, "Insert", nullptr, true}, {82, "#0", "0", false},      {83, "#1", "1", false},
    {84, "#2", "2", false},         {85, "#3", "3", false},      {86, "#4", "4", false},
    {87, "#5", "5", false},         {88, "#6", "6", false},      {89, "#7", "7", false},
    {91, "#8", "8", false},         {92, "#9", "9", false},
};

struct GlyphKey
{
    quint16 keyCode;
    char16_t glyph;
    // The key equivalent character, or 0 for none.
    char16_t keyEquivalent;
};

constexpr GlyphKey glyphKeys[] = {
    {48, 0x21E5, u'\t'}, // Tab
    {51, 0x232B, 0},     // Delete
    {36, 0x21B5, u'\n'}, // Return
    {76, 0x2305, 0},     // Enter
    {117, 0x2326, 0},    // Forward Delete
    {123, 0x2190, 0},    // Left Arrow
    {124, 0x2192, 0},    // Right Arrow
    {125, 0x2193, 0},    // Down Arrow
    {126, 0x2191, 0},    // Up Arrow
    {115, 0x2196, 0},    // Home
    {119, 0x2198, 0},    // End
    {116, 0x21DE, 0},    // Page Up
    {121, 0x21DF, 0},    // Page Down
};

const QString& letterTable()
{
    static const QString table =
        QStringLiteral("abcdefghijklmnopqrstuvwxyz") + QChar(228) + QChar(246) + QChar(252) +
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ") + QChar(196) + QChar(214) + QChar(220);
    return table;
}

const QString& modifierPrefixCharacters()
{
    static const QString characters = QString(QChar(shiftGlyph)) + QChar(controlGlyph) +
                                      QChar(optionGlyph) + QChar(commandGlyph) +
                                      QChar(leftSideMarker) + QChar(rightSideMarker) + u'^';
    return characters;
}

struct ModifierLabel
{
    ModifierFlags flag;
    ModifierFlags leftSide;
    ModifierFlags rightSide;
    char16_t glyph;
};

constexpr ModifierLabel modifierLabels[] = {
    {ModifierFlag::Control, ModifierFlag::LeftControl, ModifierFlag::RightControl, controlGlyph},
    {ModifierFlag::Option, ModifierFlag::LeftOption, ModifierFlag::RightOption, optionGlyph},
    {ModifierFlag::Shift, ModifierFlag::LeftShift, ModifierFlag::RightShift, shiftGlyph},
    {ModifierFlag::Command, ModifierFlag::LeftCommand, ModifierFlag::RightCommand, commandGlyph},
};

} // namespace

std::optional<QString> stringRepresentingKeyCode(quint16 keyCode,
                                                 bool returnKeyEquivalentCharacterIfPossible)
{
    for (const NamedKey& key : namedKeys) {
        if (key.keyCode != keyCode) {
            continue;
        }
        if (!returnKeyEquivalentCharacterIfPossible || key.labelAlways) {
            return QString::fromLatin1(key.label);
        }
        if (!key.keyEquivalent) {
            return std::nullopt;
        }
        return QString::fromLatin1(key.keyEquivalent);
    }

    for (const GlyphKey& key : glyphKeys) {
        if (key.keyCode != keyCode) {
            continue;
        }
        if (returnKeyEquivalentCharacterIfPossible && key.keyEquivalent != 0) {
            return QString(QChar(key.keyEquivalent));
        }
        return QString(QChar(key.glyph));
    }

    const std::optional<QString> character =
        platform::KeyboardLayout::current().characterForKeyCode(keyCode);
    // Only a key that gives exactly one UTF-16 unit has a label.
    if (!character || character->size() != 1) {
        return std::nullopt;
    }
    if (returnKeyEquivalentCharacterIfPossible) {
        return character->toLower();
    }
    return keyboardLabelString(*character);
}

QString stringRepresentingModifierFlags(ModifierFlags flags, bool reflectExactModifierKeys)
{
    QString label;
    for (const ModifierLabel& modifier : modifierLabels) {
        if (!(flags & modifier.flag)) {
            continue;
        }
        if (reflectExactModifierKeys) {
            if (flags & modifier.leftSide) {
                label += QChar(leftSideMarker);
            }
            if (flags & modifier.rightSide) {
                label += QChar(rightSideMarker);
            }
        }
        label += QChar(modifier.glyph);
    }
    return label;
}

QString shiftKeyLabelString()
{
    return QString(QChar(shiftGlyph));
}

QString controlKeyLabelString()
{
    return QString(QChar(controlGlyph));
}

QString alternateKeyLabelString()
{
    return QString(QChar(optionGlyph));
}

QString commandKeyLabelString()
{
    return QString(QChar(commandGlyph));
}

QString keyboardLabelString(const QString& string)
{
    if (!string.isEmpty() && letterTable().contains(string)) {
        return string.toUpper();
    }
    return string.toLower();
}

QString stringByTrimmingModifierPrefix(const QString& string)
{
    const QString& prefixCharacters = modifierPrefixCharacters();
    qsizetype first = 0;
    qsizetype end = string.size();
    while (first < end && prefixCharacters.contains(string.at(first))) {
        ++first;
    }
    while (end > first && prefixCharacters.contains(string.at(end - 1))) {
        --end;
    }
    if (end > first) {
        return string.mid(first, end - first);
    }
    // Nothing but modifiers: a trailing caret is the caret key itself.
    if (string.endsWith(u'^')) {
        return QStringLiteral("^");
    }
    return QString();
}

QString trimmedString(const QString& string)
{
    qsizetype first = 0;
    qsizetype end = string.size();
    while (first < end && CharacterSets::isWhiteSpaceOrLineBreak(string.at(first))) {
        ++first;
    }
    while (end > first && CharacterSets::isWhiteSpaceOrLineBreak(string.at(end - 1))) {
        --end;
    }
    return string.mid(first, end - first);
}

} // namespace QXExtension
