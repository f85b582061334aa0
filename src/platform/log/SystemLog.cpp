#include "platform/log/SystemLog.h"

#include <QByteArray>
#include <QMutex>
#include <QMutexLocker>
#include <atomic>
#include <cstdio>
#include <syslog.h>
#include <unistd.h>

namespace platform {
namespace {

QMutex& sinkMutex()
{
    static QMutex mutex;
    return mutex;
}

SystemLogSink& installedSink()
{
    static SystemLogSink sink;
    return sink;
}

std::atomic<bool> debugLoggingEnabled = false;

void openSystemLogOnce()
{
    // The identifier must outlive every later syslog() call.
    static const bool opened = [] {
        openlog("trovix", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
}

} // namespace

void systemLog(const QString& message)
{
    openSystemLogOnce();
    const QByteArray line = message.toUtf8();
    syslog(LOG_NOTICE, "%s", line.constData());
    if (isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "trovix: %s\n", line.constData());
    }
    QMutexLocker locker(&sinkMutex());
    if (installedSink()) {
        installedSink()(message);
    }
}

void systemDebugLog(const QString& message)
{
    if (debugLoggingEnabled.load(std::memory_order_relaxed)) {
        systemLog(message);
    }
}

void setDebugLoggingEnabled(bool enabled)
{
    debugLoggingEnabled.store(enabled, std::memory_order_relaxed);
}

bool isDebugLoggingEnabled()
{
    return debugLoggingEnabled.load(std::memory_order_relaxed);
}

void setSystemLogSink(SystemLogSink sink)
{
    QMutexLocker locker(&sinkMutex());
    installedSink() = std::move(sink);
}

} // namespace platform
