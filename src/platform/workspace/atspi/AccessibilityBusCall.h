#pragma once

#include <QByteArray>
#include <QObject>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace platform::atspi {

// A method call on the accessibility bus whose answer is one unsigned number
// (a process identifier, a role), sent without waiting through libatspi's own
// connection. The answer, or nothing when the call fails or is not answered
// within timeoutMs, is handed to answer through context's event queue on the
// main thread; none comes once context is gone. libatspi must have been
// initialised.
struct AccessibilityBusCall
{
    QByteArray destination;
    QByteArray path;
    QByteArray interface;
    QByteArray method;
    // The call's one argument, a string; none when empty.
    QByteArray argument;

    void send(QObject* context, int timeoutMs,
              std::function<void(std::optional<quint32>)> answer) const;
};

} // namespace platform::atspi
