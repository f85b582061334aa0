#include "platform/workspace/x11/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QTextStream>
#include <algorithm>

namespace platform {

namespace {

// Desktop entries are a few kilobytes; translations make the largest a few
// hundred. Anything bigger is no desktop entry and is not read.
constexpr qint64 MaximumFileSize = 1024 * 1024;

// A string value with its escapes (\s, \n, \t, \r, \\) resolved.
QString unescaped(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case u's':
            text += u' ';
            break;
        case u'n':
            text += u'\n';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        default:
            text += next;
            break;
        }
    }
    return text;
}

// The words of an Exec command: separated by blanks, a word in double
// quotes may hold blanks and backslash-escaped characters.
QStringList commandWords(const QString& command)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (quoted && c == u'\\' && i + 1 < command.size()) {
            word += command.at(++i);
        } else if (c == u'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && c.isSpace()) {
            if (inWord) {
                words.append(word);
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.append(word);
    }
    return words;
}

bool isFieldCode(const QString& word)
{
    static const QString codes = QStringLiteral("fFuUickdDnNvm");
    return word.size() == 2 && word.at(0) == u'%' && codes.contains(word.at(1));
}

void readCommand(const QString& command, DesktopEntry& entry)
{
    const QStringList words = commandWords(command);
    qsizetype first = 0;
    if (!words.isEmpty() && QFileInfo(words.first()).fileName() == QStringLiteral("env")) {
        first = 1;
        while (first < words.size() &&
               (words.at(first).contains(u'=') || words.at(first).startsWith(u'-'))) {
            ++first;
        }
    }
    if (first >= words.size()) {
        return;
    }
    entry.program = QFileInfo(words.at(first)).fileName();
    entry.plainCommand = std::all_of(words.begin() + first + 1, words.end(), isFieldCode);
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QString& id)
{
    QFile file(path);
    if (file.size() > MaximumFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return std::nullopt;
    }
    return fromContents(file.read(MaximumFileSize), id);
}

std::optional<DesktopEntry> DesktopEntry::fromContents(const QByteArray& contents,
                                                       const QString& id)
{
    const QLocale locale;
    const QString fullKey = QStringLiteral("Name[") + locale.name() + u']';
    const QString languageKey = QStringLiteral("Name[") + locale.name().section(u'_', 0, 0) + u']';
    DesktopEntry entry;
    entry.id = id;
    QString type;
    QString localized;
    QString languageOnly;
    bool inMainGroup = false;
    bool sawMainGroup = false;
    QTextStream stream(contents);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(u'[')) {
            // Only the first [Desktop Entry] group counts; actions and
            // vendor groups below it have names and commands of their own.
            inMainGroup = !sawMainGroup && line == QStringLiteral("[Desktop Entry]");
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = unescaped(line.mid(equals + 1).trimmed());
        if (key == QStringLiteral("Type")) {
            type = value;
        } else if (key == QStringLiteral("Name")) {
            entry.name = value;
        } else if (key == fullKey) {
            localized = value;
        } else if (key == languageKey) {
            languageOnly = value;
        } else if (key == QStringLiteral("Exec")) {
            readCommand(value, entry);
        } else if (key == QStringLiteral("StartupWMClass")) {
            entry.startupWindowClass = value;
        } else if (key == QStringLiteral("NoDisplay")) {
            entry.noDisplay = value == QStringLiteral("true");
        } else if (key == QStringLiteral("Hidden")) {
            entry.hidden = value == QStringLiteral("true");
        }
    }
    if (entry.hidden) {
        return entry;
    }
    if (!sawMainGroup || (!type.isEmpty() && type != QStringLiteral("Application"))) {
        return std::nullopt;
    }
    if (!localized.isEmpty()) {
        entry.name = localized;
    } else if (!languageOnly.isEmpty()) {
        entry.name = languageOnly;
    }
    entry.name = entry.name.trimmed();
    if (entry.name.isEmpty()) {
        return std::nullopt;
    }
    return entry;
}

} // namespace platform
