#pragma once

#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogPredicate.h"

#include <QByteArray>
#include <algorithm>
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

} // namespace platform::logstore
