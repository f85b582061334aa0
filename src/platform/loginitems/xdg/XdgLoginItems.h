#pragma once

#include "platform/loginitems/LoginItems.h"

#include <QStringList>

namespace platform {

// The XDG autostart folders as the login-items list: every *.desktop file in
// $XDG_CONFIG_HOME/autostart and $XDG_CONFIG_DIRS/*/autostart, the user's
// folder first; a file name in an earlier folder hides the same name in the
// later ones. Entries marked Hidden=true are deleted entries and not listed,
// nor are those a desktop was told to skip (X-GNOME-Autostart-enabled=false).
// The program's own entry is <identifier>.desktop in the user's folder. The
// folders are looked up anew on every call, so a change of the environment
// (a test's temporary folders) takes effect at once.
class XdgLoginItems : public LoginItems
{
public:
    // identifier names the program's own entry file, name is its Name key.
    XdgLoginItems(const QString& identifier, const QString& name);

    std::optional<QList<LoginItem>> snapshot() override;
    bool remove(const LoginItem& item) override;
    std::optional<LoginItem> insert(const QString& applicationPath) override;

    // Starting at login is done through the list alone.
    bool hasHelper() const override { return false; }
    std::optional<bool> isHelperEnabled() override { return false; }
    bool canEnableHelper() const override { return false; }
    bool setHelperEnabled(bool) override { return false; }

    // The user's autostart folder, where entries are written.
    static QString userFolder();
    // The system-wide autostart folders, most important first.
    static QStringList systemFolders();
    // The file name of the program's own entry.
    QString entryFileName() const;

private:
    // The path of the system-wide file of that name, or an empty string.
    static QString systemCopy(const QString& fileName);
    // Writes text to path atomically, creating the folder; answers success.
    bool writeEntry(const QString& path, const QString& text);

    QString m_identifier;
    QString m_name;
};

} // namespace platform
