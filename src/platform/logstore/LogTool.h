#pragma once

#include <QString>
#include <QStringList>

namespace platform::logstore {

class LogOutput;
class LogSource;

// Exit statuses of the log tool.
enum LogToolStatus
{
    LogToolSucceeded = 0,
    LogToolCannotRead = 1,  // no journal this user may read, or reading failed
    LogToolUsageError = 64, // unknown option, bad value, malformed predicate
};

// Runs one command of the log tool (see LogRequest.h) against SOURCE: the
// entries of the period (show) or those arriving from now on (stream, after
// one header line), at the requested level and matching the predicate, as a
// JSON array on OUT. Messages for the user go to MESSAGES; on a usage error
// nothing is written to OUT.
int runLogTool(const QStringList& arguments, LogSource& source, LogOutput& out, QString* messages);

// The line stream writes before its JSON array.
QString streamHeader(const QString& predicateText, int maximumPriority);

} // namespace platform::logstore
