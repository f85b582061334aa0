#include "platform/logstore/LogTool.h"

#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogJsonWriter.h"
#include "platform/logstore/LogOutput.h"
#include "platform/logstore/LogRequest.h"
#include "platform/logstore/LogSource.h"

namespace platform::logstore {

QString streamHeader(const QString& predicateText, int maximumPriority)
{
    QString header = QStringLiteral("Following the journal at level ") % levelName(maximumPriority);
    if (!predicateText.trimmed().isEmpty()) {
        // One line whatever the predicate holds, so the reader finds the array
        // right after it.
        QString oneLine = predicateText;
        for (QChar& c : oneLine) {
            if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                c == QChar::ParagraphSeparator) {
                c = u' ';
            }
        }
        header += QStringLiteral(" for entries matching: ") % oneLine;
    }
    return header % u'\n';
}

int runLogTool(const QStringList& arguments, LogSource& source, LogOutput& out, QString* messages)
{
    QString error;
    const std::optional<LogRequest> request = parseLogRequest(arguments, &error);
    if (!request) {
        *messages = QStringLiteral("trovix-log: ") % error % u'\n' % logToolUsage();
        return LogToolUsageError;
    }
    if (request->help) {
        out.buffer().append(logToolUsage().toUtf8());
        out.flush();
        return LogToolSucceeded;
    }
    if (!source.open(&error)) {
        *messages = QStringLiteral("trovix-log: ") % error % u'\n';
        return LogToolCannotRead;
    }

    LogJsonWriter writer(out.buffer());
    LogFilter filter;
    filter.maximumPriority = request->maximumPriority;
    filter.predicate = request->predicate ? &*request->predicate : nullptr;
    auto write = [&](const LogEntry& entry) {
        writer.writeEntry(entry);
        return out.flushIfFull();
    };

    bool read = false;
    if (request->mode == LogRequest::Mode::Show) {
        std::optional<qint64> since;
        if (request->lastSeconds) {
            since = std::max<qint64>(0, source.now() - *request->lastSeconds * 1000000);
        }
        read = source.readFrom(since, filter, write, &error);
        writer.finish();
    } else {
        // The header goes out with the first flush, which comes once the source
        // is in place: whatever is written after the header appears is shown.
        out.buffer().append(streamHeader(request->predicateText, filter.maximumPriority).toUtf8());
        read = source.follow(
            filter, write, [&] { return out.flush(); }, &error);
        if (writer.hasEntries()) {
            writer.finish();
        }
    }
    out.flush();
    if (!read) {
        *messages = QStringLiteral("trovix-log: ") % error % u'\n';
        return LogToolCannotRead;
    }
    return LogToolSucceeded;
}

} // namespace platform::logstore
