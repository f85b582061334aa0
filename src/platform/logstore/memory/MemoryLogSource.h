#pragma once

#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogSource.h"

#include <QList>

namespace platform::logstore {

// A log held in memory, for tests. It keeps the journal's contract: stored
// entries are handed over oldest first from the requested time on, and
// following hands over only entries that arrive after it began.
class MemoryLogSource : public LogSource
{
public:
    // Control surface for tests.
    void setNow(qint64 microseconds) { m_now = microseconds; }
    // An entry already in the log when a command starts.
    void store(const LogEntry& entry) { m_stored.append(entry); }
    // An entry written while stream follows; following ends after the last.
    void arriveLater(const LogEntry& entry) { m_arriving.append(entry); }
    // Refuses to open, as a machine without a readable journal does.
    void setUnreadable(const QString& reason) { m_unreadable = reason; }
    // How often follow reported being idle.
    int idleCount() const { return m_idleCount; }

    bool open(QString* error) override;
    qint64 now() const override { return m_now; }
    bool readFrom(std::optional<qint64> since, const LogFilter& filter, const Visitor& visit,
                  QString* error) override;
    bool follow(const LogFilter& filter, const Visitor& visit, const Idle& idle,
                QString* error) override;

private:
    qint64 m_now = 0;
    QList<LogEntry> m_stored;
    QList<LogEntry> m_arriving;
    QString m_unreadable;
    int m_idleCount = 0;
};

} // namespace platform::logstore
