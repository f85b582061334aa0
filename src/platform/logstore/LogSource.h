#pragma once

#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogPredicate.h"

#include <QString>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace platform::logstore {

// Which entries a command wants: a level and an optional predicate.
struct LogFilter
{
    // The least important syslog priority wanted (5 = notice, 7 = debug).
    int maximumPriority = 5;
    const LogPredicate* predicate = nullptr;

    bool matches(const LogEntry& entry) const
    {
        return entry.priority() <= maximumPriority && (!predicate || predicate->matches(entry));
    }

    // The journal fields matches() reads: a source may load just these to
    // judge an entry, and the rest only for entries that match.
    std::vector<QByteArray> journalFieldsRead() const
    {
        std::vector<QByteArray> fields;
        if (predicate) {
            fields = predicate->journalFieldsRead();
        }
        if (std::find(fields.begin(), fields.end(), "PRIORITY") == fields.end()) {
            fields.push_back("PRIORITY");
        }
        return fields;
    }
};

// Where the log tool reads entries from: the system journal (journald/), or
// a list held in memory for tests (memory/).
class LogSource
{
public:
    virtual ~LogSource() = default;

    // Called with each entry that matches the filter; false stops the reading.
    using Visitor = std::function<bool(const LogEntry&)>;
    // Called whenever every entry so far has been handed over, before the
    // source waits for more; false stops the following.
    using Idle = std::function<bool()>;

    // Opens the log; false with a message in ERROR when there is none that this
    // user may read.
    virtual bool open(QString* error) = 0;

    // The current time in microseconds since the epoch, by the source's clock.
    virtual qint64 now() const = 0;

    // Hands over every stored entry that matches FILTER written at or after SINCE (microseconds
    // since the epoch; none: from the oldest), oldest first, earlier boots
    // included. False with a message in ERROR when reading fails.
    virtual bool readFrom(std::optional<qint64> since, const LogFilter& filter,
                          const Visitor& visit, QString* error) = 0;

    // Hands over each entry that matches FILTER written after the call began, as it arrives,
    // until the source is told to stop (by the backend's own means), VISIT or
    // IDLE returns false. IDLE is first called once the source is in place,
    // so an entry written after that call is never missed. False with a
    // message in ERROR when reading fails.
    virtual bool follow(const LogFilter& filter, const Visitor& visit, const Idle& idle,
                        QString* error) = 0;
};

} // namespace platform::logstore
