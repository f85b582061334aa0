#include "platform/logstore/JournalAccess.h"

#include "platform/logstore/journald/JournalLogSource.h"

#include <grp.h>

namespace platform::logstore {

JournalAccess checkJournalAccess()
{
    JournalAccess access;
    JournalLogSource source;
    if (!source.open(&access.reason)) {
        return access;
    }
    // One entry is enough: the reading stops at the first.
    const qint64 minute = 60LL * 1000000;
    LogFilter everything;
    everything.maximumPriority = 7;
    if (!source.readFrom(
            source.now() - minute, everything, [](const LogEntry&) { return false; },
            &access.reason)) {
        return access;
    }
    access.readable = true;
    access.reason.clear();
    return access;
}

QString journalReaderGroup()
{
    for (const char* name : {"systemd-journal", "adm"}) {
        if (::getgrnam(name) != nullptr) {
            return QString::fromLatin1(name);
        }
    }
    return QStringLiteral("systemd-journal");
}

} // namespace platform::logstore
