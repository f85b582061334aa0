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
            {"space", 49},      {"escape", 53},    {"esc", 53},     {"help", 114},
            {"insert", 114},    {"ins", 114},      {"tab", 48},     {"iso_left_tab", 48},
            {"backtab", 48},    {"backspace", 51}, {"return", 36},  {"enter", 76},
            {"kp_enter", 76},   {"delete", 117},   {"del", 117},    {"left", 123},
            {"right", 124},     {"down", 125},     {"up", 126},     {"home", 115},
            {"end", 119},       {"page_up", 116},  {"prior", 116},  {"pgup", 116},
            {"page_down", 121}, {"next", 121},     {"pgdown", 121},
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

} // namespace

std::optional<MenuKeyBinding> MenuKeyBinding::fromKeyBindingText(const QString& text)
{
    int modifiers = 0;
    bool command = false;
    std::optional<ParsedKey> key;

    if (text.contains(u';')) {
        // GTK: the accelerator is the third field; the first two are the
        // mnemonic and the mnemonic path.
        const QStringList fields = text.split(u';');
        if (fields.size() < 3) {
            return std::nullopt;
        }
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
        key = parseKeyName(accelerator, false);
    } else {
        // Qt: modifiers and key joined by '+'; a trailing "++" names the plus key.
        QString remaining = text.trimmed();
        if (remaining.isEmpty()) {
            return std::nullopt;
        }
        // Several shortcuts are separated by ", "; the first one counts.
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
        key = parseKeyName(keyName.trimmed(), keypad);
    }

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
