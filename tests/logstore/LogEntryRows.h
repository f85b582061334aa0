#pragma once

#include "platform/logstore/LogEntry.h"

#include <QByteArray>
#include <QList>
#include <utility>

// A journal entry from "NAME=value" fields, for test tables.
inline platform::logstore::LogEntry journalEntry(const QList<QByteArray>& fields,
                                                 qint64 realtime = 1796589937750883)
{
    platform::logstore::LogEntry entry;
    entry.setRealtime(realtime);
    for (const QByteArray& field : fields) {
        entry.addJournalField(field);
    }
    return entry;
}
