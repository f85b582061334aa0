#include "platform/workspace/x11/DesktopEntryNames.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

namespace platform {

namespace {

bool same(const QString& first, const QString& second)
{
    return !first.isEmpty() && first.compare(second, Qt::CaseInsensitive) == 0;
}

// "org.example.Editor" for "org.example.Editor.desktop" or itself.
QString withoutSuffix(const QString& id)
{
    const QString suffix = QStringLiteral(".desktop");
    return id.endsWith(suffix, Qt::CaseInsensitive) ? id.chopped(suffix.size()) : id;
}

} // namespace

void DesktopEntryNames::load()
{
    m_loaded = true;
    // Earlier folders take precedence, as for every XDG lookup: the first
    // entry of a file id decides, also when it is a Hidden one that removes
    // the entry of a later folder.
    QSet<QString> seenIds;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QDir root(folder);
        QStringList paths;
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            paths.append(files.next());
        }
        QList<std::pair<QString, QString>> entries; // id, path
        for (const QString& path : std::as_const(paths)) {
            const QString id = withoutSuffix(root.relativeFilePath(path)).replace(u'/', u'-');
            entries.append({id, path});
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& [id, path] : std::as_const(entries)) {
            if (seenIds.contains(id)) {
                continue;
            }
            seenIds.insert(id);
            std::optional<DesktopEntry> entry = DesktopEntry::read(path, id);
            if (entry && !entry->hidden) {
                m_entries.append(std::move(*entry));
            }
        }
    }
}

const DesktopEntry* DesktopEntryNames::entryForWindows(const Application& application) const
{
    for (const QString& id : application.desktopIds) {
        for (const DesktopEntry& entry : m_entries) {
            if (same(entry.id, withoutSuffix(id))) {
                return &entry;
            }
        }
    }
    for (const QString& windowClass : application.windowClasses) {
        for (const DesktopEntry& entry : m_entries) {
            if (same(entry.startupWindowClass, windowClass)) {
                return &entry;
            }
        }
    }
    // Without StartupWMClass, desktops take the window class for the file
    // id, also for the last part of a reverse-DNS one.
    for (const QString& windowClass : application.windowClasses) {
        for (const DesktopEntry& entry : m_entries) {
            if (same(entry.id, windowClass) ||
                (entry.id.contains(u'.') && same(entry.id.section(u'.', -1), windowClass))) {
                return &entry;
            }
        }
    }
    return nullptr;
}

const DesktopEntry* DesktopEntryNames::entryForPrograms(const Application& application,
                                                        bool plain) const
{
    // Entries shown in menus first; then those kept out of them.
    for (const bool noDisplay : {false, true}) {
        for (const QString& program : application.programs) {
            for (const DesktopEntry& entry : m_entries) {
                if (entry.plainCommand == plain && entry.noDisplay == noDisplay &&
                    same(entry.program, program)) {
                    return &entry;
                }
            }
        }
    }
    return nullptr;
}

QString DesktopEntryNames::name(const Application& application)
{
    if (!m_loaded) {
        load();
    }
    if (const DesktopEntry* entry = entryForWindows(application)) {
        return entry->name;
    }
    if (const DesktopEntry* entry = entryForPrograms(application, true)) {
        return entry->name;
    }
    // Many toolkits give the bus only the program's name; that says less
    // than an entry, while a name of the application's own says more than
    // an entry made for one of its modes.
    const QString& ownName = application.ownName;
    const bool ownNameIsProgram =
        std::any_of(application.programs.begin(), application.programs.end(),
                    [&ownName](const QString& program) { return same(program, ownName); });
    if (!ownName.isEmpty() && !ownNameIsProgram) {
        return ownName;
    }
    if (const DesktopEntry* entry = entryForPrograms(application, false)) {
        return entry->name;
    }
    return ownName;
}

} // namespace platform
