#include "platform/accessibility/atspi/AccessibilityBus.h"

#include "platform/workspace/x11/EwmhConnection.h"

#include <QDBusConnection>
#include <QDBusMessage>
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

bool AccessibilityBus::isEnabled()
{
    const QDBusReply<QDBusVariant> reply = callBus(PropertiesInterface, QStringLiteral("Get"),
                                                   {StatusInterface, QStringLiteral("IsEnabled")});
    if (!reply.isValid() || !reply.value().variant().toBool()) {
        return false;
    }
    return answers(address());
}

bool AccessibilityBus::enable()
{
    callBus(
        PropertiesInterface, QStringLiteral("Set"),
        {StatusInterface, QStringLiteral("IsEnabled"), QVariant::fromValue(QDBusVariant(true))});
    return isEnabled();
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
