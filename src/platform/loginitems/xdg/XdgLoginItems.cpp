#include "platform/loginitems/xdg/XdgLoginItems.h"

#include "platform/log/SystemLog.h"
#include "platform/loginitems/xdg/AutostartEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

// Autostart entries are a few hundred bytes; anything far larger is not one.
constexpr qint64 maximumEntrySize = 64 * 1024;

QString autostartFolderIn(const QString& configFolder)
{
    return QDir::cleanPath(configFolder + QStringLiteral("/autostart"));
}

// The program an Exec names, as an absolute path without symbolic links where
// it can be found; a bare name that is not on the search path stays as it is.
QString resolvedProgram(const QString& program)
{
    if (program.isEmpty()) {
        return {};
    }
    QString path = program;
    if (!QDir::isAbsolutePath(path)) {
        path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) {
            return program;
        }
    }
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

std::optional<AutostartEntry> readEntry(const QString& path)
{
    // Only regular files: opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (file.size() > maximumEntrySize || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return AutostartEntry::parse(file.read(maximumEntrySize));
}

} // namespace

XdgLoginItems::XdgLoginItems(const QString& identifier, const QString& name)
    : m_identifier(identifier), m_name(name)
{}

QString XdgLoginItems::userFolder()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configHome)) {
        return autostartFolderIn(configHome);
    }
    return autostartFolderIn(QDir::homePath() + QStringLiteral("/.config"));
}

QStringList XdgLoginItems::systemFolders()
{
    QStringList folders;
    for (const QString& folder :
         qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts)) {
        // Relative entries are invalid and ignored.
        if (QDir::isAbsolutePath(folder)) {
            folders.append(autostartFolderIn(folder));
        }
    }
    if (folders.isEmpty()) {
        folders.append(autostartFolderIn(QStringLiteral("/etc/xdg")));
    }
    return folders;
}

QString XdgLoginItems::entryFileName() const
{
    return m_identifier + QStringLiteral(".desktop");
}

QString XdgLoginItems::systemCopy(const QString& fileName)
{
    for (const QString& folder : systemFolders()) {
        const QString path = folder + u'/' + fileName;
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}

std::optional<QList<LoginItem>> XdgLoginItems::snapshot()
{
    const QString user = userFolder();
    const QFileInfo userInfo(user);
    if (userInfo.exists() && (!userInfo.isDir() || !userInfo.isReadable())) {
        systemLog(QStringLiteral("[QXLoginItem] cannot read %1").arg(user));
        setLastError(
            QCoreApplication::translate("Trovix", "The folder %1 cannot be read.").arg(user));
        return std::nullopt;
    }
    // File name -> the file that counts for it.
    QMap<QString, QString> effective;
    for (const QString& folder : QStringList{user} + systemFolders()) {
        // Unreadable files count too: they still hide system-wide copies.
        const QStringList names =
            QDir(folder).entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString& name : names) {
            if (!effective.contains(name)) {
                effective.insert(name, folder + u'/' + name);
            }
        }
    }
    QList<LoginItem> items;
    for (auto it = effective.cbegin(); it != effective.cend(); ++it) {
        const std::optional<AutostartEntry> entry = readEntry(it.value());
        if (entry &&
            (entry->boolean(QStringLiteral("Hidden")) ||
             entry->value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))) {
            continue;
        }
        LoginItem item;
        item.identifier = it.key();
        if (entry) {
            item.path = resolvedProgram(entry->execProgram());
        }
        items.append(item);
    }
    return items;
}

bool XdgLoginItems::writeEntry(const QString& path, const QString& text)
{
    if (!QDir().mkpath(QFileInfo(path).path())) {
        systemLog(QStringLiteral("[QXLoginItem] cannot create %1").arg(QFileInfo(path).path()));
        setLastError(QCoreApplication::translate("Trovix", "The folder %1 cannot be created.")
                         .arg(QFileInfo(path).path()));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        systemLog(
            QStringLiteral("[QXLoginItem] cannot write %1: %2").arg(path, file.errorString()));
        setLastError(QCoreApplication::translate("Trovix", "%1 cannot be written: %2")
                         .arg(path, file.errorString()));
        return false;
    }
    return true;
}

bool XdgLoginItems::remove(const LoginItem& item)
{
    if (item.identifier.isEmpty() || item.identifier.contains(u'/')) {
        return false;
    }
    const QString userPath = userFolder() + u'/' + item.identifier;
    const QString systemPath = systemCopy(item.identifier);
    if (systemPath.isEmpty()) {
        QFile file(userPath);
        if (!file.exists()) {
            return true;
        }
        if (!file.remove()) {
            systemLog(QStringLiteral("[QXLoginItem] cannot delete %1: %2")
                          .arg(userPath, file.errorString()));
            setLastError(QCoreApplication::translate("Trovix", "%1 cannot be deleted: %2")
                             .arg(userPath, file.errorString()));
            return false;
        }
        return true;
    }
    // Deleting the user's file would bring the system-wide copy back; an
    // entry marked Hidden in the user's folder deletes it for this user.
    const std::optional<AutostartEntry> systemEntry = readEntry(systemPath);
    QString name = systemEntry ? systemEntry->value(QStringLiteral("Name")) : QString();
    if (name.isEmpty()) {
        name = m_name;
    }
    QString exec = systemEntry ? systemEntry->value(QStringLiteral("Exec")) : QString();
    if (exec.isEmpty()) {
        exec = AutostartEntry::execValueForProgram(QStringLiteral("/bin/true")).value_or(QString());
    }
    const QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=%1\n"
                       "Exec=%2\n"
                       "Hidden=true\n")
            .arg(AutostartEntry::escapedString(name), AutostartEntry::escapedString(exec));
    return writeEntry(userPath, text);
}

std::optional<LoginItem> XdgLoginItems::insert(const QString& applicationPath)
{
    const std::optional<QString> exec = AutostartEntry::execValueForProgram(applicationPath);
    if (!exec || !QDir::isAbsolutePath(applicationPath)) {
        systemLog(QStringLiteral("[QXLoginItem] cannot start %1 at login: not a usable path")
                      .arg(applicationPath));
        setLastError(
            QCoreApplication::translate("Trovix", "%1 cannot be started from an autostart entry.")
                .arg(applicationPath));
        return std::nullopt;
    }
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=%1\n"
                                        "Comment=%2\n"
                                        "Exec=%3\n"
                                        "TryExec=%4\n"
                                        "Icon=trovix\n"
                                        "Terminal=false\n")
                             .arg(AutostartEntry::escapedString(m_name),
                                  AutostartEntry::escapedString(
                                      QStringLiteral("Start %1 when you log in").arg(m_name)),
                                  AutostartEntry::escapedString(*exec),
                                  AutostartEntry::escapedString(applicationPath));
    const QString path = userFolder() + u'/' + entryFileName();
    if (!writeEntry(path, text)) {
        return std::nullopt;
    }
    return LoginItem{entryFileName(), resolvedProgram(applicationPath)};
}

} // namespace platform
