#pragma once

#include <QByteArray>
#include <QMap>

// Counts the D-Bus requests (method calls) this process sends, on every
// connection: libatspi talks to toolkits that offer it (GTK) over a direct
// connection to the application, which a monitor on the accessibility bus
// never sees. The benchmark defines libdbus's sending functions itself, counts
// each call and hands it on to libdbus.
class RequestCounter
{
public:
    // The requests sent since the previous call.
    static int takeCount();
    // Whether to keep "interface.member" of each request for takeTally().
    static void setTallying(bool tallying);
    // How often each kind of request was sent since the previous call.
    static QMap<QByteArray, int> takeTally();
};
