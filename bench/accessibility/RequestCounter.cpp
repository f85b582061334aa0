#include "RequestCounter.h"

#include <dbus/dbus.h>
#include <dlfcn.h>

namespace {

int requests = 0;
bool tallying = false;
QMap<QByteArray, int> tally;

void count(DBusMessage* message)
{
    if (!message || dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_METHOD_CALL) {
        return;
    }
    ++requests;
    if (tallying) {
        const char* interface = dbus_message_get_interface(message);
        const char* member = dbus_message_get_member(message);
        QByteArray kind = QByteArray(interface ? interface : "") + '.' + (member ? member : "");
        if (kind == "org.freedesktop.DBus.Properties.Get" ||
            kind == "org.freedesktop.DBus.Properties.GetAll") {
            const char* first = nullptr;
            const char* second = nullptr;
            DBusError error;
            dbus_error_init(&error);
            if (dbus_message_get_args(message, &error, DBUS_TYPE_STRING, &first, DBUS_TYPE_STRING,
                                      &second, DBUS_TYPE_INVALID)) {
                kind += QByteArray(" ") + first + ' ' + second;
            }
            dbus_error_free(&error);
        }
        ++tally[kind];
    }
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

int RequestCounter::takeCount()
{
    const int value = requests;
    requests = 0;
    return value;
}

void RequestCounter::setTallying(bool on)
{
    tallying = on;
}

QMap<QByteArray, int> RequestCounter::takeTally()
{
    QMap<QByteArray, int> value;
    value.swap(tally);
    return value;
}

// libdbus's sending functions, seen first by every library of the process.
extern "C" {

dbus_bool_t dbus_connection_send(DBusConnection* connection, DBusMessage* message,
                                 dbus_uint32_t* serial)
{
    using Send = dbus_bool_t (*)(DBusConnection*, DBusMessage*, dbus_uint32_t*);
    static const Send send = next<Send>("dbus_connection_send");
    count(message);
    return send(connection, message, serial);
}

dbus_bool_t dbus_connection_send_with_reply(DBusConnection* connection, DBusMessage* message,
                                            DBusPendingCall** pending, int timeout)
{
    using Send = dbus_bool_t (*)(DBusConnection*, DBusMessage*, DBusPendingCall**, int);
    static const Send send = next<Send>("dbus_connection_send_with_reply");
    count(message);
    return send(connection, message, pending, timeout);
}

DBusMessage* dbus_connection_send_with_reply_and_block(DBusConnection* connection,
                                                       DBusMessage* message, int timeout,
                                                       DBusError* error)
{
    using Send = DBusMessage* (*)(DBusConnection*, DBusMessage*, int, DBusError*);
    static const Send send = next<Send>("dbus_connection_send_with_reply_and_block");
    count(message);
    return send(connection, message, timeout, error);
}
}
