#include "platform/workspace/x11/ProcessTable.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

QString procPath(qint64 pid, const char* entry)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1StringView(entry));
}

} // namespace

bool ProcessTable::processExists(qint64 pid)
{
    if (pid <= 0) {
        return false;
    }
    QFile stat(procPath(pid, "stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return false;
    }
    // "pid (name) state ...": the name may hold spaces and parentheses, so
    // the state follows the last closing parenthesis.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) != "Z";
}

QString ProcessTable::processName(qint64 pid)
{
    if (pid <= 0) {
        return QString();
    }
    QFile comm(procPath(pid, "comm"));
    if (!comm.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(comm.readAll()).trimmed();
}

QString ProcessTable::executablePath(qint64 pid)
{
    if (pid <= 0) {
        return QString();
    }
    return QFileInfo(procPath(pid, "exe")).symLinkTarget();
}

} // namespace platform
