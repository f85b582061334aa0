#include "platform/accessibility/atspi/AccessibilityBus.h"

#include "platform/workspace/x11/EwmhConnection.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>

namespace platform {

namespace {

const QString BusService = QStringLiteral("org.a11y.Bus");
const QString BusPath = QStringLiteral("/org/a11y/bus");
const QString StatusInterface = QStringLiteral("org.a11y.Status");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int CallTimeoutMs = 1000;

// A plain method call: a QDBusInterface would first introspect the service
// (blocking) and keep the introspected meta-object for the life of the process.
QDBusMessage callBus(const QString& interface, const QString& method,
                     const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(BusService, BusPath, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, CallTimeoutMs);
}

} // namespace

QString AccessibilityBus::address() const
{
    const QDBusReply<QString> reply = callBus(BusService, QStringLiteral("GetAddress"));
    return reply.isValid() ? reply.value() : QString();
}

bool AccessibilityBus::answers(const QString& busAddress)
{
    if (busAddress.isEmpty()) {
        return false;
    }
    if (busAddress == m_answeringAddress) {
        return true;
    }
    const QString name = QStringLiteral("trovix-accessibility-check");
    bool connected = false;
    {
        QDBusConnection connection = QDBusConnection::connectToBus(busAddress, name);
        connected = connection.isConnected();
    }
    QDBusConnection::disconnectFromBus(name);
    if (connected) {
        m_answeringAddress = busAddress;
    }
    return connected;
}

AccessibilityBus::State AccessibilityBus::state()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        return State::NoSessionBus;
    }
    const QDBusReply<QDBusVariant> reply = callBus(PropertiesInterface, QStringLiteral("Get"),
                                                   {StatusInterface, QStringLiteral("IsEnabled")});
    if (!reply.isValid()) {
        // Unknown to the bus, or known but failing to start: nothing there to
        // turn on. Other errors (a service that does not answer) count as off.
        const QDBusError::ErrorType error = reply.error().type();
        const bool missing =
            error == QDBusError::ServiceUnknown ||
            reply.error().name().startsWith(QStringLiteral("org.freedesktop.DBus.Error.Spawn."));
        return missing ? State::NoAccessibilityService : State::Off;
    }
    if (!reply.value().variant().toBool()) {
        return State::Off;
    }
    return answers(address()) ? State::On : State::Off;
}

void AccessibilityBus::checkStillOn(std::function<void()> switchedOff)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        switchedOff();
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(BusService, BusPath, PropertiesInterface,
                                                          QStringLiteral("Get"));
    message.setArguments({StatusInterface, QStringLiteral("IsEnabled")});
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, CallTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [switchedOff = std::move(switchedOff)](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         const QDBusReply<QDBusVariant> reply = *call;
                         if (!reply.isValid() || !reply.value().variant().toBool()) {
                             switchedOff();
                         }
                     });
}

AccessibilityBus::State AccessibilityBus::enable()
{
    if (!QDBusConnection::sessionBus().isConnected()) {
        return State::NoSessionBus;
    }
    callBus(
        PropertiesInterface, QStringLiteral("Set"),
        {StatusInterface, QStringLiteral("IsEnabled"), QVariant::fromValue(QDBusVariant(true))});
    return state();
}

void AccessibilityBus::publishAddressOnRootWindow()
{
    EwmhConnection& x11 = EwmhConnection::shared();
    const std::optional<QByteArray> published = x11.rootStringProperty("AT_SPI_BUS");
    if (published && !published->isEmpty()) {
        return;
    }
    const QString busAddress = address();
    if (!busAddress.isEmpty()) {
        x11.setRootStringProperty("AT_SPI_BUS", busAddress.toUtf8());
    }
}

} // namespace platform
