#include "platform/input/portal/GlobalShortcutsPortal.h"

#include "platform/input/KeyCombinationText.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

// One entry of BindShortcuts' list: an id and its properties, a(sa{sv}).
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace platform {
namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Activation by D-Bus can start the portal first: longer than a plain call.
constexpr int probeTimeoutMilliseconds = 10000;

} // namespace

GlobalShortcutsPortal::GlobalShortcutsPortal(const QDBusConnection& bus, ActivationHandler handler,
                                             QObject* parent)
    : QObject(parent), m_bus(bus), m_handler(std::move(handler))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    // Taken as whole messages: a signal whose arguments do not read as
    // expected is dropped in activation().
    m_bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(activation(QDBusMessage)));
    m_bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Deactivated"),
                  this, SLOT(activation(QDBusMessage)));
}

void GlobalShortcutsPortal::probeVersion(const QDBusConnection& bus, QObject* context,
                                         const std::function<void(uint version)>& answer)
{
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            context, [answer] { answer(0); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << shortcutsInterface << QStringLiteral("version");
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(call, probeTimeoutMilliseconds), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answer](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         const QDBusPendingReply<QDBusVariant> reply = *finished;
                         answer(reply.isError() ? 0 : reply.value().variant().toUInt());
                     });
}

QString GlobalShortcutsPortal::nextToken()
{
    return QStringLiteral("trovix%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_tokens);
}

QString GlobalShortcutsPortal::listenForResponse(const QString& token, const char* slot)
{
    // The portal answers on a request object whose path comes from our bus
    // name and our token: listening before asking means no answer is missed.
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString path = portalPath + QStringLiteral("/request/") + sender + u'/' + token;
    m_bus.connect(portalService, path, requestInterface, QStringLiteral("Response"), this, slot);
    return path;
}

void GlobalShortcutsPortal::bind(const QList<DesktopShortcut>& shortcuts)
{
    m_shortcuts = shortcuts;
    if (m_session.isEmpty()) {
        createSession();
    } else {
        sendBinding();
    }
}

void GlobalShortcutsPortal::remove(const QString& name)
{
    for (qsizetype i = m_shortcuts.size() - 1; i >= 0; --i) {
        if (m_shortcuts[i].name == name) {
            m_shortcuts.removeAt(i);
        }
    }
    // The portal keeps what a session bound; binding the rest replaces it.
    if (!m_session.isEmpty()) {
        sendBinding();
    }
}

void GlobalShortcutsPortal::createSession()
{
    if (m_creatingSession) {
        return;
    }
    m_creatingSession = true;
    const QString token = nextToken();
    listenForResponse(token, SLOT(sessionCreated(uint, QVariantMap)));
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("session_handle_token"), nextToken());
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, shortcutsInterface, QStringLiteral("CreateSession"));
    call << options;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    m_creatingSession = false;
                    systemLog(QStringLiteral("the global shortcuts portal refused a session: %1")
                                  .arg(reply.error().message()));
                }
            });
}

void GlobalShortcutsPortal::sessionCreated(uint code, const QVariantMap& results)
{
    m_creatingSession = false;
    if (code != 0) {
        systemLog(QStringLiteral("the global shortcuts portal gave no session (%1)").arg(code));
        return;
    }
    m_session = results.value(QStringLiteral("session_handle")).toString();
    if (m_session.isEmpty()) {
        // Some versions send the handle as an object path.
        m_session = results.value(QStringLiteral("session_handle")).value<QDBusObjectPath>().path();
    }
    systemLog(QStringLiteral("hot keys come from the global shortcuts portal"));
    sendBinding();
}

void GlobalShortcutsPortal::sendBinding()
{
    QList<PortalShortcut> list;
    for (const DesktopShortcut& shortcut : std::as_const(m_shortcuts)) {
        PortalShortcut entry;
        entry.id = shortcut.name;
        entry.properties.insert(QStringLiteral("description"), shortcut.description);
        const QString trigger = KeyCombinationText::portalTrigger(shortcut.combination);
        if (!trigger.isEmpty()) {
            entry.properties.insert(QStringLiteral("preferred_trigger"), trigger);
        }
        list.append(entry);
    }
    const QString token = nextToken();
    listenForResponse(token, SLOT(shortcutsBound(uint, QVariantMap)));
    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, shortcutsInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(list)
         << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *done;
        if (reply.isError()) {
            systemLog(QStringLiteral("the global shortcuts portal refused the hot keys: %1")
                          .arg(reply.error().message()));
        }
    });
}

void GlobalShortcutsPortal::shortcutsBound(uint code, const QVariantMap& results)
{
    if (code != 0) {
        systemLog(QStringLiteral("the hot keys were not bound by the desktop (%1)").arg(code));
        return;
    }
    // The desktop answers with the shortcuts it granted, which may be fewer
    // than asked for (or none: Plasma 5.27 grants none to a program without
    // a sandbox's application id).
    const QVariant granted = results.value(QStringLiteral("shortcuts"));
    const qsizetype count =
        granted.canConvert<QDBusArgument>() ? qdbus_cast<QList<PortalShortcut>>(granted).size() : 0;
    systemLog(
        QStringLiteral("the desktop bound %1 of %2 hot key(s)").arg(count).arg(m_shortcuts.size()));
}

void GlobalShortcutsPortal::activation(const QDBusMessage& message)
{
    // (o session, s id, t timestamp, a{sv} options): only the session and
    // the id matter.
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || !m_handler) {
        return;
    }
    const QString session = arguments.at(0).value<QDBusObjectPath>().path();
    const QString id = arguments.at(1).toString();
    if (m_session.isEmpty() || session != m_session || id.isEmpty()) {
        return;
    }
    m_handler(id, message.member() == QLatin1String("Activated"));
}

} // namespace platform
