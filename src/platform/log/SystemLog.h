#pragma once

#include <QString>
#include <functional>

namespace platform {

// Writes one line to the system log through syslog(3), where the desktop's
// journald stores it, and to stderr while stderr is a terminal. Messages carry
// no level of their own.
void systemLog(const QString& message);

// Debug lines: written like systemLog() while debug logging is on, dropped
// while it is off (the default). The switch takes effect at once, in every
// thread.
void systemDebugLog(const QString& message);
void setDebugLoggingEnabled(bool enabled);
bool isDebugLoggingEnabled();

// Receives every line written while it is installed (tests read what was
// logged through it). Passing an empty function removes it.
using SystemLogSink = std::function<void(const QString&)>;
void setSystemLogSink(SystemLogSink sink);

} // namespace platform
