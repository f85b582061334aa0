#include "platform/workspace/x11/DesktopEntryNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

namespace {

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
            // The program is the first word; field codes and arguments follow.
            QString program = value.section(u' ', 0, 0);
            program.remove(u'"');
            entry.executable = QFileInfo(program).fileName();
        } else if (key == QStringLiteral("StartupWMClass")) {
            entry.windowClass = value.toLower();
        } else if (key == QStringLiteral("NoDisplay") || key == QStringLiteral("Hidden")) {
            entry.hidden = entry.hidden || value == QStringLiteral("true");
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
    // Earlier folders take precedence, as for every XDG lookup.
    for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder) {
        const QDir dir(*folder);
        for (const QFileInfo& file :
             dir.entryInfoList({QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable)) {
            const Entry entry = readEntry(file.absoluteFilePath());
            if (entry.name.isEmpty() || entry.hidden) {
                continue;
            }
            if (!entry.windowClass.isEmpty()) {
                m_names.insert(entry.windowClass, entry.name);
            }
            if (!entry.executable.isEmpty()) {
                m_names.insert(entry.executable.toLower(), entry.name);
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
