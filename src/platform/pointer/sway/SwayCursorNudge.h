#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Asks sway, over its IPC socket, to move the cursor by nothing: sway then
// looks again which window is under the pointer and gives the pointer to it,
// which it does not do by itself when a window appears under a still pointer.
// The connection is opened on first use and closed with the object; nothing
// here waits for sway.
class SwayCursorNudge
{
public:
    // socketPath: the IPC socket (SWAYSOCK).
    explicit SwayCursorNudge(QString socketPath);
    ~SwayCursorNudge();
    SwayCursorNudge(const SwayCursorNudge&) = delete;
    SwayCursorNudge& operator=(const SwayCursorNudge&) = delete;

    // Sends the request; false when the socket cannot be reached.
    bool nudge();

    // The IPC message that runs command (RUN_COMMAND, type 0).
    static QByteArray commandMessage(const QByteArray& command);

private:
    void close();

    QString m_socketPath;
    int m_socket = -1;
};

} // namespace platform
