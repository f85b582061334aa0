#pragma once

#include "platform/input/HotKeyService.h"
#include "platform/input/desktop/DesktopShortcutBinder.h"

#include <QObject>
#include <QTimer>
#include <memory>

namespace platform {

// Global hot keys in a Wayland session, where X11 key grabs see only X11
// windows: the desktop binds them. Which way is asked at start,
// asynchronously (see DesktopHotKeyChoice): the global shortcuts portal,
// GNOME's keyboard settings once the user allowed it, or a line the user adds
// to the compositor's configuration. Registrations are accepted at once and
// handed to the desktop from the event loop, named by describeRegistration;
// a press the desktop reports arrives as a hot key event like an X11 one.
class DesktopHotKeyService : public QObject, public HotKeyService
{
    Q_OBJECT

public:
    // A factory of the binder for a mechanism; tests give their own.
    using BinderFactory = std::function<std::unique_ptr<DesktopShortcutBinder>(HotKeyMechanism)>;

    // Asks the session bus for the portal and chooses from currentDesktop.
    explicit DesktopHotKeyService(const QString& currentDesktop);
    // Uses the mechanism given, with binders from the factory (tests).
    DesktopHotKeyService(HotKeyMechanism mechanism, BinderFactory factory,
                         const QString& currentDesktop = QString());
    ~DesktopHotKeyService() override;

    bool isAvailable() const override { return true; }
    std::optional<HotKeyHandle> registerHotKey(quint16 keyCode, ModifierFlags modifiers,
                                               quint32 signature, quint32 identifier,
                                               HotKeyRefusal* refusal) override;
    void unregisterHotKey(HotKeyHandle handle) override;
    HotKeyMechanism mechanism() const override;
    void describeRegistration(HotKeyHandle handle, const HotKeyPurpose& purpose) override;
    void removeDesktopBinding(const QString& name) override;
    bool needsPermission() const override;
    void setDesktopSettingsAllowed(bool allowed) override;
    QString configurationLine(quint16 keyCode, ModifierFlags modifiers,
                              const QStringList& command) const override;

    // The desktop pressed (or let go of) the shortcut of that name.
    void shortcutActivated(const QString& name, bool pressed);

private:
    struct Registration
    {
        HotKeyHandle handle = 0;
        KeyCombination combination;
        HotKeyPurpose purpose;
        bool down = false;
    };

    void chosen(HotKeyMechanism mechanism);
    void scheduleBinding();
    void bindNow();

    BinderFactory m_factory;
    QString m_currentDesktop;
    HotKeyMechanism m_chosen = HotKeyMechanism::Pending;
    std::optional<bool> m_settingsAllowed;
    std::unique_ptr<DesktopShortcutBinder> m_binder;
    QList<Registration> m_registrations;
    QStringList m_pendingRemovals;
    HotKeyHandle m_lastHandle = 0;
    QTimer m_bindLater;
};

} // namespace platform
