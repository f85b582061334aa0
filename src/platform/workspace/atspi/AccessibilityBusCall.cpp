#include "platform/workspace/atspi/AccessibilityBusCall.h"

#include <QPointer>
#include <atspi/atspi.h>
#include <dbus/dbus.h>

namespace platform::atspi {

namespace {

struct Pending
{
    QPointer<QObject> context;
    std::function<void(std::optional<quint32>)> answer;
};

void handOver(QObject* context, std::function<void(std::optional<quint32>)> answer,
              std::optional<quint32> value)
{
    // Never from inside libdbus's dispatch: the receiver may make calls of
    // its own on the same connection.
    QMetaObject::invokeMethod(
        context, [answer = std::move(answer), value] { answer(value); }, Qt::QueuedConnection);
}

void replied(DBusPendingCall* call, void* data)
{
    auto* pending = static_cast<Pending*>(data);
    std::optional<quint32> value;
    if (DBusMessage* reply = dbus_pending_call_steal_reply(call)) {
        DBusError error;
        dbus_error_init(&error);
        dbus_uint32_t number = 0;
        if (dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN &&
            dbus_message_get_args(reply, &error, DBUS_TYPE_UINT32, &number, DBUS_TYPE_INVALID)) {
            value = number;
        }
        dbus_error_free(&error);
        dbus_message_unref(reply);
    }
    if (pending->context) {
        handOver(pending->context, std::move(pending->answer), value);
    }
}

void forget(void* data)
{
    delete static_cast<Pending*>(data);
}

} // namespace

void AccessibilityBusCall::send(QObject* context, int timeoutMs,
                                std::function<void(std::optional<quint32>)> answer) const
{
    DBusConnection* bus = atspi_get_a11y_bus();
    // Names and paths that are not valid on the bus are refused before
    // libdbus would complain about them.
    if (!bus || !dbus_validate_bus_name(destination.constData(), nullptr) ||
        !dbus_validate_path(path.constData(), nullptr) ||
        (!argument.isEmpty() && !dbus_validate_utf8(argument.constData(), nullptr))) {
        handOver(context, std::move(answer), std::nullopt);
        return;
    }
    DBusMessage* message = dbus_message_new_method_call(destination.constData(), path.constData(),
                                                        interface.constData(), method.constData());
    if (!message) {
        handOver(context, std::move(answer), std::nullopt);
        return;
    }
    const char* text = argument.constData();
    DBusPendingCall* call = nullptr;
    const bool sent = (argument.isEmpty() || dbus_message_append_args(message, DBUS_TYPE_STRING,
                                                                      &text, DBUS_TYPE_INVALID)) &&
                      dbus_connection_send_with_reply(bus, message, &call, timeoutMs) && call;
    dbus_message_unref(message);
    if (!sent) {
        handOver(context, std::move(answer), std::nullopt);
        return;
    }
    auto* pending = new Pending{context, std::move(answer)};
    if (!dbus_pending_call_set_notify(call, replied, pending, forget)) {
        handOver(context, std::move(pending->answer), std::nullopt);
        delete pending;
    }
    dbus_pending_call_unref(call);
}

} // namespace platform::atspi
