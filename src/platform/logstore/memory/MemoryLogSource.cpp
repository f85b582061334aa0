#include "platform/logstore/memory/MemoryLogSource.h"

#include <algorithm>

namespace platform::logstore {

bool MemoryLogSource::open(QString* error)
{
    if (!m_unreadable.isEmpty()) {
        *error = m_unreadable;
        return false;
    }
    return true;
}

bool MemoryLogSource::readFrom(std::optional<qint64> since, const LogFilter& filter,
                               const Visitor& visit, QString*)
{
    QList<LogEntry> ordered = m_stored;
    std::stable_sort(ordered.begin(), ordered.end(), [](const LogEntry& a, const LogEntry& b) {
        return a.realtime() < b.realtime();
    });
    for (const LogEntry& entry : ordered) {
        if ((since && entry.realtime() < *since) || !filter.matches(entry)) {
            continue;
        }
        if (!visit(entry)) {
            break;
        }
    }
    return true;
}

bool MemoryLogSource::follow(const LogFilter& filter, const Visitor& visit, const Idle& idle,
                             QString*)
{
    ++m_idleCount;
    if (!idle()) {
        return true;
    }
    for (const LogEntry& entry : std::as_const(m_arriving)) {
        m_stored.append(entry);
        if (filter.matches(entry) && !visit(entry)) {
            return true;
        }
        ++m_idleCount;
        if (!idle()) {
            return true;
        }
    }
    m_arriving.clear();
    return true;
}

} // namespace platform::logstore
