#pragma once

#include "platform/logstore/LogPredicate.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace platform::logstore {

// What one run of the log tool asks for, read from its command line:
//
//   show   --style json [--predicate P] [--info|--debug] [--last Ns|Nm|Nh|Nd]
//   stream --style json [--predicate P] [--level default|info|debug]
struct LogRequest
{
    enum class Mode
    {
        Show,
        Stream,
    };

    Mode mode = Mode::Show;
    // The predicate's text as given; empty when entries are not filtered.
    QString predicateText;
    std::optional<LogPredicate> predicate;
    // The least important syslog priority shown: 5 (notice) at the default
    // level, 6 with info, 7 with debug.
    int maximumPriority = 5;
    // show: how far back the period reaches, in seconds, at most a hundred
    // years; none for the whole journal.
    std::optional<qint64> lastSeconds;
    // --help: print the usage and do nothing else.
    bool help = false;
};

// The request, or nothing with a message in ERROR for an unknown command or
// option, a missing or malformed value, or a predicate that does not parse.
std::optional<LogRequest> parseLogRequest(const QStringList& arguments, QString* error);

// The usage text printed for --help and after a command-line error.
QString logToolUsage();

// "default", "info" or "debug" for a maximum priority.
QString levelName(int maximumPriority);

} // namespace platform::logstore
