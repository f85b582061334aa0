#pragma once

#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogSource.h"

struct sd_journal;

namespace platform::logstore {

// The system journal read through sd-journal: every local journal file this
// user may read, current and earlier boots, never through a second process.
class JournalLogSource : public LogSource
{
public:
    // Following ends when STOP becomes readable (a signalfd, say) or when the
    // reader of WATCHED_OUTPUT goes away; -1 for neither.
    explicit JournalLogSource(int stopFd = -1, int watchedOutputFd = -1);
    ~JournalLogSource() override;
    JournalLogSource(const JournalLogSource&) = delete;
    JournalLogSource& operator=(const JournalLogSource&) = delete;

    bool open(QString* error) override;
    qint64 now() const override;
    bool readFrom(std::optional<qint64> since, const LogFilter& filter, const Visitor& visit,
                  QString* error) override;
    bool follow(const LogFilter& filter, const Visitor& visit, const Idle& idle,
                QString* error) override;

private:
    // True once the stop descriptor is readable.
    bool stopRequested() const;
    // Reads the time of the entry at the journal's current position into
    // m_entry, with just FIELDS, or with every field when FIELDS is null.
    bool readCurrentEntry(const std::vector<QByteArray>* fields, QString* error);
    // Hands over the matching entries after the current position; false when
    // VISIT stopped or reading failed (ERROR set).
    bool visitFollowing(const LogFilter& filter, const Visitor& visit, bool* stopped,
                        QString* error);

    sd_journal* m_journal = nullptr;
    int m_stopFd;
    int m_watchedOutputFd;
    LogEntry m_entry;
};

} // namespace platform::logstore
