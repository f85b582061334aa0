#pragma once

#include <QString>
#include <functional>

namespace platform {

// Writes one line to the system log through syslog(3), where the desktop's
// journald stores it, and to stderr while stderr is a terminal. Messages carry
// no level of their own.
void systemLog(const QString& message);

// Receives every line written while it is installed (tests read what was
// logged through it). Passing an empty function removes it.
using SystemLogSink = std::function<void(const QString&)>;
void setSystemLogSink(SystemLogSink sink);

} // namespace platform
