#pragma once

#include "platform/workspace/x11/DesktopEntry.h"

#include <QList>
#include <QStringList>

namespace platform {

// Names running applications after their installed desktop entries (the
// .desktop files of the XDG data folders), choosing the entry the way
// desktops do. Entries are read once, on first use.
class DesktopEntryNames
{
public:
    // What tells a running application's desktop entry.
    struct Application
    {
        // Desktop file ids its windows name (_GTK_APPLICATION_ID,
        // _KDE_NET_WM_DESKTOP_FILE), with or without ".desktop".
        QStringList desktopIds;
        // Its windows' WM_CLASS strings, class before instance.
        QStringList windowClasses;
        // The file name of its executable, then its process name.
        QStringList programs;
        // The name it gives itself on the accessibility bus.
        QString ownName;
    };

    // In this order: the entry its windows name by desktop file id; the
    // entry whose StartupWMClass, then whose file id, is a window class; the
    // entry whose Exec starts one of its programs with nothing but field
    // codes, preferring entries shown in menus; the application's own name
    // when it is more than its program's name; an entry that starts the
    // program with arguments (that starts one of its modes, such as its
    // settings); the application's own name. Empty when there is none.
    QString name(const Application& application);

private:
    void load();
    const DesktopEntry* entryForWindows(const Application& application) const;
    const DesktopEntry* entryForPrograms(const Application& application, bool plain) const;

    bool m_loaded = false;
    // In precedence order: the folders in XDG order, each in file-id order.
    QList<DesktopEntry> m_entries;
};

} // namespace platform
