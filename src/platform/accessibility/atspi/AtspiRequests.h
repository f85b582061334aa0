#pragma once

#include <QElapsedTimer>
#include <QtGlobal>
#include <glib.h>

namespace platform::atspi {

// The messaging timeout that bounds every request to another application,
// in milliseconds. Setting it also hands it to libatspi.
int messagingTimeoutMs();
void setMessagingTimeoutMs(int milliseconds);

// Whether a request timed by this timer failed by running into the timeout
// (allowing for clock granularity: a request ends a little before the
// timeout as often as after it).
bool tookTheTimeout(const QElapsedTimer& request);

// Counts a request that the application left unanswered within the timeout.
void countTimedOutRequest();
// Counts the request when error says the application did not answer in time
// (not when the element is gone or lacks what was asked for).
void countIfTimedOut(const GError* error);
quint64 timedOutRequests();

} // namespace platform::atspi
