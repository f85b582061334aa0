#include "platform/workspace/x11/DesktopEntryNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

namespace {

// The program an Exec command starts: its first word, which may be quoted
// (a path with spaces), after an "env" that sets variables for it.
QString programOfCommand(const QString& command)
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
    qsizetype first = 0;
    if (!words.isEmpty() && QFileInfo(words.first()).fileName() == QStringLiteral("env")) {
        first = 1;
        while (first < words.size() &&
               (words.at(first).contains(u'=') || words.at(first).startsWith(u'-'))) {
            ++first;
        }
    }
    return first < words.size() ? words.at(first) : QString();
}

struct Entry
{
    QString name;
    QString executable;
    QString windowClass;
    bool hidden = false;
};

Entry readEntry(const QString& path)
{
    Entry entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return entry;
    }
    const QLocale locale;
    const QString language = locale.name().section(u'_', 0, 0);
    const QString fullKey = QStringLiteral("Name[") + locale.name() + u']';
    const QString languageKey = QStringLiteral("Name[") + language + u']';
    QString localized;
    QString languageOnly;
    bool inMainGroup = false;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
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
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QStringLiteral("Name")) {
            entry.name = value;
        } else if (key == fullKey) {
            localized = value;
        } else if (key == languageKey) {
            languageOnly = value;
        } else if (key == QStringLiteral("Exec")) {
            entry.executable = QFileInfo(programOfCommand(value)).fileName();
        } else if (key == QStringLiteral("StartupWMClass")) {
            entry.windowClass = value.toLower();
        } else if (key == QStringLiteral("Hidden")) {
            entry.hidden = value == QStringLiteral("true");
        }
    }
    if (!localized.isEmpty()) {
        entry.name = localized;
    } else if (!languageOnly.isEmpty()) {
        entry.name = languageOnly;
    }
    return entry;
}

} // namespace

void DesktopEntryNames::load()
{
    m_loaded = true;
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    // Earlier folders take precedence, as for every XDG lookup: the first
    // entry of a file name decides, also when it is a Hidden one that
    // removes the entry of a later folder.
    QSet<QString> seenFiles;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo& file :
             dir.entryInfoList({QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable)) {
            if (seenFiles.contains(file.fileName())) {
                continue;
            }
            seenFiles.insert(file.fileName());
            const Entry entry = readEntry(file.absoluteFilePath());
            if (entry.name.isEmpty() || entry.hidden) {
                continue;
            }
            if (!entry.windowClass.isEmpty() && !m_names.contains(entry.windowClass)) {
                m_names.insert(entry.windowClass, entry.name);
            }
            const QString executable = entry.executable.toLower();
            if (!executable.isEmpty() && !m_names.contains(executable)) {
                m_names.insert(executable, entry.name);
            }
        }
    }
}

QString DesktopEntryNames::nameForExecutable(const QString& executableName)
{
    if (!m_loaded) {
        load();
    }
    return m_names.value(executableName.toLower());
}

} // namespace platform
