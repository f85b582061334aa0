#include "platform/accessibility/MenuKeyBinding.h"

#include "platform/accessibility/AccessibilityNames.h"

#include <QHash>
#include <QList>
#include <algorithm>

namespace platform {

namespace {

using namespace platform::accessibility;

// Virtual key codes of the keys that menus show by name or glyph.
const QHash<QString, int>& namedKeys()
{
    static const QHash<QString, int> keys = [] {
        QHash<QString, int> table;
        const int functionKeys[] = {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                    103, 111, 105, 107, 113, 106, 64, 79,  80};
        for (int i = 0; i < 19; ++i) {
            table.insert(QStringLiteral("f%1").arg(i + 1), functionKeys[i]);
        }
        const int keypadDigits[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
        for (int i = 0; i < 10; ++i) {
            table.insert(QStringLiteral("kp_%1").arg(i), keypadDigits[i]);
        }
        const std::pair<const char*, int> names[] = {
            {"space", 49},
            {"escape", 53},
            {"esc", 53},
            {"help", 114},
            {"insert", 114},
            {"ins", 114},
            {"tab", 48},
            {"iso_left_tab", 48},
            {"backtab", 48},
            {"backspace", 51},
            {"return", 36},
            {"enter", 76},
            {"kp_enter", 76},
            {"delete", 117},
            {"del", 117},
            {"left", 123},
            {"right", 124},
            {"down", 125},
            {"up", 126},
            {"home", 115},
            {"end", 119},
            {"page_up", 116},
            {"prior", 116},
            {"pgup", 116},
            {"page_down", 121},
            {"next", 121},
            {"pgdown", 121},
            // The other keypad keys, by GTK's names and, for Qt's "Num+" keys,
            // by the character they type. Without Num Lock the digit keys move
            // the cursor; those names become the keys they act as.
            {"kp_add", 69},
            {"kp_+", 69},
            {"kp_subtract", 78},
            {"kp_-", 78},
            {"kp_multiply", 67},
            {"kp_*", 67},
            {"kp_divide", 75},
            {"kp_/", 75},
            {"kp_decimal", 65},
            {"kp_.", 65},
            {"kp_equal", 81},
            {"kp_=", 81},
            {"kp_separator", 95},
            {"kp_,", 95},
            {"kp_space", 49},
            {"kp_tab", 48},
            {"kp_home", 115},
            {"kp_end", 119},
            {"kp_left", 123},
            {"kp_right", 124},
            {"kp_up", 126},
            {"kp_down", 125},
            {"kp_page_up", 116},
            {"kp_prior", 116},
            {"kp_page_down", 121},
            {"kp_next", 121},
            {"kp_insert", 114},
            {"kp_delete", 117},
            {"kp_begin", 87},
        };
        for (const auto& [name, code] : names) {
            table.insert(QString::fromLatin1(name), code);
        }
        return table;
    }();
    return keys;
}

// GTK names of punctuation keys.
const QHash<QString, QString>& keySymbolCharacters()
{
    static const QHash<QString, QString> symbols = [] {
        QHash<QString, QString> table;
        const std::pair<const char*, const char*> names[] = {
            {"plus", "+"},        {"minus", "-"},        {"equal", "="},      {"comma", ","},
            {"period", "."},      {"slash", "/"},        {"backslash", "\\"}, {"semicolon", ";"},
            {"colon", ":"},       {"apostrophe", "'"},   {"quotedbl", "\""},  {"grave", "`"},
            {"bracketleft", "["}, {"bracketright", "]"}, {"braceleft", "{"},  {"braceright", "}"},
            {"asterisk", "*"},    {"question", "?"},     {"exclam", "!"},     {"at", "@"},
            {"numbersign", "#"},  {"dollar", "$"},       {"percent", "%"},    {"ampersand", "&"},
            {"less", "<"},        {"greater", ">"},      {"underscore", "_"}, {"bar", "|"},
            {"asciitilde", "~"},  {"asciicircum", "^"},  {"parenleft", "("},  {"parenright", ")"},
        };
        for (const auto& [name, character] : names) {
            table.insert(QString::fromLatin1(name), QString::fromLatin1(character));
        }
        return table;
    }();
    return symbols;
}

// Modifier names of both dialects, lower-cased, to their menu-glyph bits;
// Command is returned as -1 because it clears the "no Command" bit.
std::optional<int> modifierBit(QStringView name)
{
    static const QHash<QString, int> bits = {
        {QStringLiteral("shift"), ShiftModifierBit},
        {QStringLiteral("alt"), OptionModifierBit},
        {QStringLiteral("mod1"), OptionModifierBit},
        {QStringLiteral("option"), OptionModifierBit},
        {QStringLiteral("ctrl"), ControlModifierBit},
        {QStringLiteral("control"), ControlModifierBit},
        {QStringLiteral("primary"), ControlModifierBit},
        {QStringLiteral("super"), -1},
        {QStringLiteral("meta"), -1},
        {QStringLiteral("hyper"), -1},
        {QStringLiteral("mod4"), -1},
    };
    const auto found = bits.constFind(name.toString().toLower());
    if (found == bits.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

struct ParsedKey
{
    QString character;
    std::optional<int> virtualKey;
};

std::optional<ParsedKey> parseKeyName(QStringView name, bool keypad)
{
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QString lower = name.toString().toLower();
    const QString keypadName = keypad && name.size() == 1 ? QStringLiteral("kp_") + lower : lower;
    const auto named = namedKeys().constFind(keypadName);
    if (named != namedKeys().constEnd()) {
        return ParsedKey{QString(), *named};
    }
    const auto symbol = keySymbolCharacters().constFind(lower);
    if (symbol != keySymbolCharacters().constEnd()) {
        return ParsedKey{*symbol, std::nullopt};
    }
    if (name.size() == 1 && name.at(0).isPrint() && !name.at(0).isSpace()) {
        return ParsedKey{name.toString().toUpper(), std::nullopt};
    }
    return std::nullopt;
}

// Modifiers collected from the names of a binding.
struct Modifiers
{
    int bits = 0;
    bool command = false;

    // Adds a modifier by name; false for a name that is none.
    bool add(QStringView name)
    {
        const std::optional<int> bit = modifierBit(name);
        if (!bit) {
            return false;
        }
        if (*bit < 0) {
            command = true;
        } else {
            bits |= *bit;
        }
        return true;
    }
    int glyphBits() const { return bits | (command ? 0 : NoCommandModifierBit); }
};

// Qt joins several key sequences with ";", which is also the name of the
// semicolon key ("Ctrl+;", ";"): a ";" is the key where a key is still
// missing, at the start of a sequence or right after a modifier's "+".
QList<QStringView> qtSequences(QStringView text)
{
    QList<QStringView> sequences;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = i - start;
        const bool keyMissing =
            length == 0 || (length >= 2 && text.at(i - 1) == u'+' && text.at(i - 2) != u'+');
        if (text.at(i) == u';' && !keyMissing) {
            sequences.append(text.sliced(start, length));
            start = i + 1;
        }
    }
    if (start < text.size()) {
        sequences.append(text.sliced(start));
    }
    return sequences;
}

// A key as the mnemonic forms write it: any number of modifiers in angle
// brackets, then a key symbol name ("n", "odiaeresis", "F1", "KP_Add") or a
// single character other than the forms' separators.
bool isMnemonicKey(QStringView text)
{
    qsizetype position = 0;
    while (position < text.size() && text.at(position) == u'<') {
        const qsizetype close = text.indexOf(u'>', position);
        if (close <= position + 1) {
            return false;
        }
        position = close + 1;
    }
    const QStringView key = text.sliced(position);
    if (key.isEmpty()) {
        return false;
    }
    const bool oneCharacter = key.size() == 1 || (key.size() == 2 && key.at(0).isHighSurrogate() &&
                                                  key.at(1).isLowSurrogate());
    if (oneCharacter) {
        const char16_t first = key.at(0).unicode();
        return !key.at(0).isSpace() && first != u';' && first != u':' && first != u'+' &&
               first != u'<' && first != u'>';
    }
    return std::all_of(key.begin(), key.end(), [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_');
    });
}

// The path of mnemonics from the menu bar down, "<Alt>f:t:s", or nothing.
// A path of one step starts with the menu bar's modifier, so a lone key
// between two ";" is left to Qt's key sequences.
bool isMnemonicPath(QStringView text)
{
    if (text.isEmpty()) {
        return true;
    }
    if (!text.startsWith(u'<') && !text.contains(u':')) {
        return false;
    }
    for (const QStringView step : text.tokenize(u':')) {
        if (!isMnemonicKey(step)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<MenuKeyBinding> MenuKeyBinding::fromKeyBindingText(const QString& text,
                                                                 const QString& title)
{
    // No toolkit writes a binding this long: a longer text is not one.
    if (text.size() > MaximumTextLength) {
        return std::nullopt;
    }
    switch (formOf(text)) {
    case Form::MnemonicPathAccelerator: {
        // The accelerator is the third field, with any ";" in it.
        const qsizetype first = text.indexOf(u';');
        return fromAccelerator(QStringView(text).sliced(text.indexOf(u';', first + 1) + 1));
    }
    case Form::MnemonicAccelerator:
        return fromAccelerator(QStringView(text).sliced(text.indexOf(u';') + 1));
    case Form::KeySequence:
        break;
    }
    // The first sequence that is a real shortcut counts; a mnemonic never does.
    for (const QStringView sequence : qtSequences(text)) {
        if (isQtMnemonic(sequence.toString(), title)) {
            continue;
        }
        if (std::optional<MenuKeyBinding> binding = fromQtSequence(sequence)) {
            return binding;
        }
    }
    return std::nullopt;
}

MenuKeyBinding::Form MenuKeyBinding::formOf(QStringView text)
{
    const qsizetype first = text.indexOf(u';');
    if (first < 0) {
        return Form::KeySequence;
    }
    const QStringView mnemonic = text.first(first);
    const qsizetype second = text.indexOf(u';', first + 1);
    if (second >= 0) {
        const QStringView path = text.sliced(first + 1, second - first - 1);
        return (mnemonic.isEmpty() || isMnemonicKey(mnemonic)) && isMnemonicPath(path)
                   ? Form::MnemonicPathAccelerator
                   : Form::KeySequence;
    }
    // Two fields: a mnemonic with its modifier ("<Alt>F"), or one followed
    // by nothing or by an accelerator in angle-bracket form. Qt writes
    // neither: its modifiers end in "+".
    const QStringView accelerator = text.sliced(first + 1).trimmed();
    const bool mnemonicForm =
        isMnemonicKey(mnemonic) &&
        (mnemonic.startsWith(u'<') || accelerator.isEmpty() || accelerator.startsWith(u'<'));
    return mnemonicForm ? Form::MnemonicAccelerator : Form::KeySequence;
}

bool MenuKeyBinding::isQtMnemonic(const QString& sequence, const QString& title)
{
    const QString prefix = QStringLiteral("Alt+");
    if (!sequence.startsWith(prefix)) {
        return false;
    }
    const QString character = sequence.mid(prefix.size());
    const bool oneCharacter =
        character.size() == 1 || (character.size() == 2 && character.at(0).isHighSurrogate() &&
                                  character.at(1).isLowSurrogate());
    if (!oneCharacter) {
        return false;
    }
    return (character.size() == 1 && character.at(0).isLower()) || title.contains(character);
}

std::optional<MenuKeyBinding> MenuKeyBinding::fromAccelerator(QStringView text)
{
    // Modifiers in angle brackets, then the key's name: "<Primary><Shift>n".
    const QStringView accelerator = text.trimmed();
    Modifiers modifiers;
    qsizetype position = 0;
    while (position < accelerator.size() && accelerator.at(position) == u'<') {
        const qsizetype close = accelerator.indexOf(u'>', position);
        if (close < 0) {
            return std::nullopt;
        }
        // Modifiers menus have no glyph for are passed over.
        modifiers.add(accelerator.sliced(position + 1, close - position - 1));
        position = close + 1;
    }
    const QStringView keyName = accelerator.sliced(position);
    const std::optional<ParsedKey> key = parseKeyName(keyName, false);
    if (!key) {
        return std::nullopt;
    }
    // X names Tab typed with Shift held "ISO_Left_Tab"; the Shift is part of
    // the key.
    if (keyName.compare(u"ISO_Left_Tab", Qt::CaseInsensitive) == 0) {
        modifiers.add(u"Shift");
    }
    MenuKeyBinding binding;
    binding.m_character = key->character;
    binding.m_virtualKey = key->virtualKey;
    binding.m_modifiers = modifiers.glyphBits();
    return binding;
}

std::optional<MenuKeyBinding> MenuKeyBinding::fromQtSequence(QStringView sequence)
{
    // Modifiers and key joined by '+'; a trailing "++" names the plus key.
    QStringView remaining = sequence.trimmed();
    if (remaining.isEmpty()) {
        return std::nullopt;
    }
    // The keys of a multi-key sequence are separated by ", "; the first one counts.
    const qsizetype comma = remaining.indexOf(u", ");
    if (comma > 0) {
        remaining = remaining.first(comma);
    }
    QStringView keyName;
    if (remaining == u"+") {
        keyName = remaining;
        remaining = QStringView();
    } else if (remaining.endsWith(u"++")) {
        keyName = remaining.last(1);
        remaining.chop(2);
    } else {
        const qsizetype plus = remaining.lastIndexOf(u'+');
        keyName = remaining.sliced(plus + 1);
        remaining = plus < 0 ? QStringView() : remaining.first(plus);
    }
    Modifiers modifiers;
    bool keypad = false;
    for (const QStringView part : remaining.tokenize(u'+', Qt::SkipEmptyParts)) {
        if (part.compare(u"Num", Qt::CaseInsensitive) == 0) {
            keypad = true;
        } else if (!modifiers.add(part.trimmed())) {
            return std::nullopt;
        }
    }
    const std::optional<ParsedKey> key = parseKeyName(keyName.trimmed(), keypad);
    if (!key) {
        return std::nullopt;
    }
    MenuKeyBinding binding;
    binding.m_character = key->character;
    binding.m_virtualKey = key->virtualKey;
    binding.m_modifiers = modifiers.glyphBits();
    return binding;
}

} // namespace platform
