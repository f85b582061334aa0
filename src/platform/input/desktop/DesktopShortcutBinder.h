#pragma once

#include "platform/input/HotKeyService.h"
#include "platform/input/KeyCombinationText.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// One hot key of the program as a desktop binds it.
struct DesktopShortcut
{
    // The purpose's name ("trovix-front"), the same from run to run.
    QString name;
    QString description;
    QStringList command;
    KeyCombination combination;
};

// One way a desktop binds the program's hot keys: the portal, GNOME's
// keyboard settings. Calls are asynchronous; nothing waits for the desktop.
class DesktopShortcutBinder
{
public:
    virtual ~DesktopShortcutBinder() = default;
    virtual HotKeyMechanism mechanism() const = 0;
    // The program's shortcuts now: each is bound (an existing binding of the
    // same name changes).
    virtual void bind(const QList<DesktopShortcut>& shortcuts) = 0;
    // Removes the binding of that name that the program made, and nothing
    // else.
    virtual void remove(const QString& name) = 0;
};

} // namespace platform
