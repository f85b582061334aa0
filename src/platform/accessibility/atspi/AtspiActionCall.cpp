#include "platform/accessibility/atspi/AtspiActionCall.h"

#include "platform/accessibility/atspi/AccessibilityBus.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <memory>

namespace platform::atspi {

namespace {

const QString ConnectionName = QStringLiteral("trovix-accessibility-actions");
// How long an action may go unanswered before the application is asked
// whether it still answers at all.
constexpr int ProbeDelayMs = 20;

// An action sent and the one answer its caller gets.
struct PendingAction
{
    ActionReplyHandler replied;
    bool answered = false;

    void answer(ActionReply reply)
    {
        if (!answered) {
            answered = true;
            replied(reply);
        }
    }
};

// Calls handler with the finished call on the main thread.
void whenFinished(const QDBusPendingCall& call,
                  std::function<void(const QDBusPendingCall&)> handler)
{
    auto* watcher = new QDBusPendingCallWatcher(call, QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [handler = std::move(handler)](QDBusPendingCallWatcher* finished) {
                         handler(*finished);
                         finished->deleteLater();
                     });
}

// A connection of our own to the accessibility bus, made on first use and
// made again when the bus has gone away.
std::optional<QDBusConnection> accessibilityBus()
{
    QDBusConnection connection(ConnectionName);
    if (connection.isConnected()) {
        return connection;
    }
    QDBusConnection::disconnectFromBus(ConnectionName);
    const QString address = AccessibilityBus().address();
    if (address.isEmpty()) {
        return std::nullopt;
    }
    connection = QDBusConnection::connectToBus(address, ConnectionName);
    if (!connection.isConnected()) {
        QDBusConnection::disconnectFromBus(ConnectionName);
        return std::nullopt;
    }
    return connection;
}

ActionReply replyOf(const QDBusPendingReply<bool>& reply)
{
    if (reply.isError()) {
        const QDBusError::ErrorType type = reply.error().type();
        return type == QDBusError::NoReply || type == QDBusError::Timeout ||
                       type == QDBusError::TimedOut
                   ? ActionReply::NoReply
                   : ActionReply::Refused;
    }
    return reply.value() ? ActionReply::Done : ActionReply::Refused;
}

} // namespace

bool sendDoAction(AtspiAccessible* object, int index, ActionReplyHandler replied)
{
    const auto* address = reinterpret_cast<const AtspiObject*>(object);
    if (!address || !address->app || !address->app->bus_name || !address->path) {
        return false;
    }
    return sendDoAction(QString::fromUtf8(address->app->bus_name), QString::fromUtf8(address->path),
                        index, std::move(replied));
}

std::optional<QDBusConnection> accessibilityBusConnection()
{
    return accessibilityBus();
}

bool sendDoAction(const QString& service, const QString& path, int index,
                  ActionReplyHandler replied)
{
    if (service.isEmpty() || path.isEmpty()) {
        return false;
    }
    const std::optional<QDBusConnection> bus = accessibilityBus();
    if (!bus) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("DoAction"));
    call << qint32(index);
    const QDBusPendingCall pending = bus->asyncCall(call, messagingTimeoutMs());
    if (!replied || !QCoreApplication::instance()) {
        // Nobody waits for the answer: the bus drops it when it comes.
        return true;
    }
    auto action = std::make_shared<PendingAction>();
    action->replied = std::move(replied);
    whenFinished(pending,
                 [action](const QDBusPendingCall& finished) { action->answer(replyOf(finished)); });
    // An application that performs actions synchronously answers an action
    // that opened a modal dialog only when the dialog closes, but it answers
    // other requests meanwhile (the dialog's own event loop serves them).
    // Asked on the same connection, after the action, an answer to a small
    // request means the action is under way and the application alive.
    QTimer::singleShot(ProbeDelayMs, QCoreApplication::instance(),
                       [action, connection = *bus, service, path]() mutable {
                           if (action->answered) {
                               return;
                           }
                           const QDBusMessage probe = QDBusMessage::createMethodCall(
                               service, path, QStringLiteral("org.a11y.atspi.Accessible"),
                               QStringLiteral("GetRole"));
                           whenFinished(connection.asyncCall(probe, messagingTimeoutMs()),
                                        [action](const QDBusPendingCall& finished) {
                                            if (!finished.isError()) {
                                                action->answer(ActionReply::Done);
                                            }
                                        });
                       });
    return true;
}

} // namespace platform::atspi
