#pragma once

#include "platform/input/desktop/DesktopShortcutBinder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <functional>
#include <optional>

namespace platform {

// KDE's global shortcut service (kglobalaccel) over D-Bus: each of the
// program's hot keys is an action of the component "trovix", registered
// with its description and set to its key combination; the component's
// globalShortcutPressed and globalShortcutReleased signals arrive as presses
// and releases of the action's name. Used on Plasma, where the portal gives
// a program outside a sandbox no shortcuts.
class KGlobalAccelBinder : public QObject, public DesktopShortcutBinder
{
    Q_OBJECT

public:
    using ActivationHandler = std::function<void(const QString& name, bool pressed)>;

    KGlobalAccelBinder(const QDBusConnection& bus, ActivationHandler handler,
                       QObject* parent = nullptr);

    HotKeyMechanism mechanism() const override { return HotKeyMechanism::KdeService; }
    void bind(const QList<DesktopShortcut>& shortcuts) override;
    void remove(const QString& name) override;

    // The key as Qt numbers it with its modifiers (Meta for Command), which
    // is what the service stores; nothing for a combination it cannot hold.
    static std::optional<int> qtKey(const KeyCombination& combination);

    static constexpr const char* component = "trovix";

private Q_SLOTS:
    void activation(const QDBusMessage& message);

private:
    void call(const QString& method, const QList<QVariant>& arguments);

    QDBusConnection m_bus;
    ActivationHandler m_handler;
};

} // namespace platform
