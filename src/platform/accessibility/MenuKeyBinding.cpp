#include "platform/accessibility/MenuKeyBinding.h"

#include "platform/accessibility/AccessibilityNames.h"

#include <QHash>
#include <QStringList>

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
std::optional<int> modifierBit(const QString& name)
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
    const auto found = bits.constFind(name.toLower());
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

std::optional<ParsedKey> parseKeyName(const QString& name, bool keypad)
{
    if (name.isEmpty()) {
        return std::nullopt;
    }
    const QString lower = name.toLower();
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
        return ParsedKey{name.toUpper(), std::nullopt};
    }
    return std::nullopt;
}

// Qt joins several key sequences with ";", which is also the name of the
// semicolon key ("Ctrl+;", ";"): a ";" is the key where a key is still
// missing, at the start of a sequence or right after a modifier's "+".
QStringList qtSequences(const QString& text)
{
    QStringList sequences;
    QString current;
    for (const QChar c : text) {
        const bool keyMissing =
            current.isEmpty() || (current.endsWith(u'+') && current.size() >= 2 &&
                                  current.at(current.size() - 2) != u'+');
        if (c == u';' && !keyMissing) {
            sequences.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty()) {
        sequences.append(current);
    }
    return sequences;
}

} // namespace

std::optional<MenuKeyBinding>
MenuKeyBinding::fromKeyBindingText(const QString& text, Dialect dialect, const QString& title)
{
    if (dialect == Dialect::Gtk) {
        return fromGtkText(text);
    }
    // The first sequence that is a real shortcut counts; a mnemonic never does.
    for (const QString& sequence : qtSequences(text)) {
        if (isQtMnemonic(sequence, title)) {
            continue;
        }
        if (std::optional<MenuKeyBinding> binding = fromQtSequence(sequence)) {
            return binding;
        }
    }
    return std::nullopt;
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

std::optional<MenuKeyBinding> MenuKeyBinding::fromGtkText(const QString& text)
{
    // The accelerator is the third field; the first two are the mnemonic and
    // the mnemonic path.
    const QStringList fields = text.split(u';');
    if (fields.size() < 3) {
        return std::nullopt;
    }
    int modifiers = 0;
    bool command = false;
    QString accelerator = fields.mid(2).join(u';').trimmed();
    while (accelerator.startsWith(u'<')) {
        const qsizetype close = accelerator.indexOf(u'>');
        if (close < 0) {
            return std::nullopt;
        }
        const std::optional<int> bit = modifierBit(accelerator.mid(1, close - 1));
        if (bit) {
            if (*bit < 0) {
                command = true;
            } else {
                modifiers |= *bit;
            }
        }
        accelerator = accelerator.mid(close + 1);
    }
    const std::optional<ParsedKey> key = parseKeyName(accelerator, false);
    if (!key) {
        return std::nullopt;
    }
    MenuKeyBinding binding;
    binding.m_character = key->character;
    binding.m_virtualKey = key->virtualKey;
    binding.m_modifiers = modifiers | (command ? 0 : NoCommandModifierBit);
    return binding;
}

std::optional<MenuKeyBinding> MenuKeyBinding::fromQtSequence(const QString& sequence)
{
    // Modifiers and key joined by '+'; a trailing "++" names the plus key.
    QString remaining = sequence.trimmed();
    if (remaining.isEmpty()) {
        return std::nullopt;
    }
    // The keys of a multi-key sequence are separated by ", "; the first one counts.
    const qsizetype comma = remaining.indexOf(QStringLiteral(", "));
    if (comma > 0) {
        remaining = remaining.left(comma);
    }
    QString keyName;
    if (remaining.endsWith(QStringLiteral("++")) || remaining == QStringLiteral("+")) {
        keyName = QStringLiteral("+");
        remaining.chop(remaining == QStringLiteral("+") ? 1 : 2);
    } else {
        const qsizetype plus = remaining.lastIndexOf(u'+');
        keyName = remaining.mid(plus + 1);
        remaining = plus < 0 ? QString() : remaining.left(plus);
    }
    int modifiers = 0;
    bool command = false;
    bool keypad = false;
    const QStringList parts = remaining.split(u'+', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part.compare(QStringLiteral("Num"), Qt::CaseInsensitive) == 0) {
            keypad = true;
            continue;
        }
        const std::optional<int> bit = modifierBit(part.trimmed());
        if (!bit) {
            return std::nullopt;
        }
        if (*bit < 0) {
            command = true;
        } else {
            modifiers |= *bit;
        }
    }
    const std::optional<ParsedKey> key = parseKeyName(keyName.trimmed(), keypad);
    if (!key) {
        return std::nullopt;
    }
    MenuKeyBinding binding;
    binding.m_character = key->character;
    binding.m_virtualKey = key->virtualKey;
    binding.m_modifiers = modifiers | (command ? 0 : NoCommandModifierBit);
    return binding;
}

} // namespace platform
