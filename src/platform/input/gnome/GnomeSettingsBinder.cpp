#include "platform/input/gnome/GnomeSettingsBinder.h"

#include "platform/input/desktop/DesktopHotKeyChoice.h"

namespace platform {

GnomeSettingsBinder::GnomeSettingsBinder(const QString& program) : m_settings(nullptr, program) {}

void GnomeSettingsBinder::bind(const QList<DesktopShortcut>& shortcuts)
{
    for (const DesktopShortcut& shortcut : shortcuts) {
        const QString accelerator = KeyCombinationText::gnomeAccelerator(shortcut.combination);
        if (accelerator.isEmpty() || shortcut.name.isEmpty()) {
            continue;
        }
        m_settings.set(shortcut.name, shortcut.description,
                       DesktopHotKeyChoice::commandLineText(shortcut.command), accelerator);
    }
}

void GnomeSettingsBinder::remove(const QString& name)
{
    if (!name.isEmpty()) {
        m_settings.remove(name);
    }
}

} // namespace platform
