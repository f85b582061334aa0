#pragma once

#include "platform/input/desktop/DesktopShortcutBinder.h"
#include "platform/input/gnome/GnomeCustomShortcuts.h"

namespace platform {

// GNOME's keyboard settings as the binder: each of the program's hot keys is
// a custom shortcut at a path of the program's own, named after the
// shortcut, that runs its command.
class GnomeSettingsBinder : public DesktopShortcutBinder
{
public:
    explicit GnomeSettingsBinder(const QString& program = QStringLiteral("gsettings"));

    HotKeyMechanism mechanism() const override { return HotKeyMechanism::GnomeSettings; }
    void bind(const QList<DesktopShortcut>& shortcuts) override;
    void remove(const QString& name) override;

    GnomeCustomShortcuts& settings() { return m_settings; }

private:
    GnomeCustomShortcuts m_settings;
};

} // namespace platform
