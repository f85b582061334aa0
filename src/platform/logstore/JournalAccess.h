#pragma once

#include <QString>

namespace platform::logstore {

// Whether this user can read the system journal, found out the way the log
// tool reads it: the journal is opened and the last minute of it read.
struct JournalAccess
{
    bool readable = false;
    // Why it cannot be read (the reading's own message); empty when it can.
    QString reason;
};

JournalAccess checkJournalAccess();

// The group whose members may read the whole system journal: the one this
// system has of "systemd-journal" and "adm".
QString journalReaderGroup();

} // namespace platform::logstore
