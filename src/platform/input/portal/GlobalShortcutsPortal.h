#pragma once

#include "platform/input/desktop/DesktopShortcutBinder.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>
#include <functional>

namespace platform {

// The desktop's global shortcuts portal: one session for the program's run,
// created on the first binding; every binding sends the whole set of the
// program's shortcuts (an id, a description and the preferred trigger in the
// portal's text, "LOGO+m"), and the desktop, which may ask the user, answers
// with the triggers it granted. Activated and Deactivated signals of the
// session arrive as presses and releases of the shortcut's name.
class GlobalShortcutsPortal : public QObject, public DesktopShortcutBinder
{
    Q_OBJECT

public:
    // pressed is true for an activation, false for a deactivation.
    using ActivationHandler = std::function<void(const QString& name, bool pressed)>;

    GlobalShortcutsPortal(const QDBusConnection& bus, ActivationHandler handler,
                          QObject* parent = nullptr);

    // Asks the session bus, asynchronously, for the version of the portal's
    // global shortcuts interface; answers 0 when it is not offered.
    static void probeVersion(const QDBusConnection& bus, QObject* context,
                             const std::function<void(uint version)>& answer);

    HotKeyMechanism mechanism() const override { return HotKeyMechanism::Portal; }
    void bind(const QList<DesktopShortcut>& shortcuts) override;
    void remove(const QString& name) override;

private Q_SLOTS:
    void sessionCreated(uint code, const QVariantMap& results);
    void shortcutsBound(uint code, const QVariantMap& results);
    // An Activated or Deactivated signal of the portal.
    void activation(const QDBusMessage& message);

private:
    // A request path the portal will answer on, already listened to.
    QString listenForResponse(const QString& token, const char* slot);
    QString nextToken();
    void createSession();
    void sendBinding();

    QDBusConnection m_bus;
    ActivationHandler m_handler;
    QList<DesktopShortcut> m_shortcuts;
    QString m_session;
    bool m_creatingSession = false;
    quint64 m_tokens = 0;
};

} // namespace platform
