// Predicates reach the log tool on its command line, from the log reader or
// from whoever runs it. Whatever parses is evaluated against an entry with
// the fields the reader's predicates name.
// Predicates come from settings files as well as from the user; inputs up to 256 KB are tried.
// fuzz-max-len: 262144
#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogPredicate.h"

#include <QString>
#include <cstddef>
#include <cstdint>

using namespace platform::logstore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const LogEntry entry = [] {
        LogEntry e;
        e.setRealtime(1796589937750883);
        e.addJournalField("MESSAGE=[ILR] x\n}");
        e.addJournalField("_EXE=/opt/Trovix.app/Contents/MacOS/trovix");
        e.addJournalField("SYSLOG_IDENTIFIER=trovix");
        e.addJournalField("_PID=42");
        e.addJournalField("PRIORITY=5");
        return e;
    }();
    QString error;
    const auto predicate = LogPredicate::parse(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    if (predicate) {
        (void)predicate->matches(entry);
    }
    return 0;
}
