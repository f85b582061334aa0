#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QString>
#include <atspi/atspi.h>

namespace platform::atspi {

namespace {

// libatspi's own default until the program sets its timeout.
int timeoutMs = 800;
quint64 timedOut = 0;

} // namespace

int messagingTimeoutMs()
{
    return timeoutMs;
}

void setMessagingTimeoutMs(int milliseconds)
{
    timeoutMs = milliseconds;
    atspi_set_timeout(milliseconds, -1);
}

bool tookTheTimeout(const QElapsedTimer& request)
{
    return request.elapsed() * 10 >= qint64(timeoutMs) * 9;
}

void countTimedOutRequest()
{
    ++timedOut;
}

void countIfTimedOut(const GError* error)
{
    if (!error || !error->message) {
        return;
    }
    // libatspi keeps only the bus's message: a missing reply reads "Did not
    // receive a reply ...", whatever made it miss.
    const QString message = QString::fromUtf8(error->message);
    if (message.contains(QStringLiteral("Did not receive a reply"), Qt::CaseInsensitive) ||
        message.contains(QStringLiteral("timed out"), Qt::CaseInsensitive) ||
        message.contains(QStringLiteral("timeout"), Qt::CaseInsensitive)) {
        countTimedOutRequest();
    }
}

quint64 timedOutRequests()
{
    return timedOut;
}

} // namespace platform::atspi
