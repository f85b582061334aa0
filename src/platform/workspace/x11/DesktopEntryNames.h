#pragma once

#include <QHash>
#include <QString>

namespace platform {

// The localized Name of the installed desktop entries (.desktop files in the
// XDG data folders), found by the executable they start or the window class
// they declare. Read once, on first use.
class DesktopEntryNames
{
public:
    // The name of the entry whose Exec command or StartupWMClass matches the
    // executable's file name; empty when none does.
    QString nameForExecutable(const QString& executableName);

private:
    void load();

    bool m_loaded = false;
    QHash<QString, QString> m_names;
};

} // namespace platform
