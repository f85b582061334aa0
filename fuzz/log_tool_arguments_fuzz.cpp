// trovix-log's command line: anyone can run the tool with any arguments. Each
// input is an argument list, the arguments separated by NUL bytes as in
// argv; the command runs against a small log held in memory.
// fuzz-max-len: 1048576
#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogOutput.h"
#include "platform/logstore/LogRequest.h"
#include "platform/logstore/LogTool.h"
#include "platform/logstore/memory/MemoryLogSource.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

using namespace platform::logstore;

namespace {

LogEntry entry(qint64 realtime, const char* message, const char* priority)
{
    LogEntry e;
    e.setRealtime(realtime);
    e.addJournalField("MESSAGE", message);
    e.addJournalField("_EXE=/opt/Trovix.app/Contents/MacOS/trovix");
    e.addJournalField("SYSLOG_IDENTIFIER=trovix");
    e.addJournalField("_PID=42");
    e.addJournalField("PRIORITY", priority);
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList arguments;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes.at(i) == '\0') {
            if (i > start || i < bytes.size()) {
                arguments.append(QString::fromLocal8Bit(bytes.sliced(start, i - start)));
            }
            start = i + 1;
        }
    }

    QString error;
    const std::optional<LogRequest> request = parseLogRequest(arguments, &error);
    if (!request && error.isEmpty())
        __builtin_trap();

    const qint64 now = 1796589937750883;
    MemoryLogSource source;
    source.setNow(now);
    source.store(entry(now - 3600LL * 1000000, "[ILR] an hour ago", "5"));
    source.store(entry(now - 1000000, "debug detail", "7"));
    source.arriveLater(entry(now + 1000000, "[ILR] later", "6"));
    LogOutput out;
    QString messages;
    const int status = runLogTool(arguments, source, out, &messages);
    if (status != LogToolSucceeded && status != LogToolCannotRead && status != LogToolUsageError)
        __builtin_trap();
    // A command line the parser refuses writes nothing but a message.
    if (!request && (status != LogToolUsageError || !out.buffer().isEmpty() || messages.isEmpty()))
        __builtin_trap();
    return 0;
}
