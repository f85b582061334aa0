#include "platform/logstore/LogRequest.h"

#include <QRegularExpression>
#include <limits>

namespace platform::logstore {

namespace {

// The longest period --last accepts: a hundred years, in seconds. Far beyond
// any journal, and its microseconds stay well inside a signed 64-bit count.
constexpr qint64 MaximumPeriodSeconds = 36525LL * 86400;

// "90s", "15m", "1h", "7d": the period back from now, in seconds (at most
// 10^12 days, so the product cannot overflow; the caller applies the cap).
std::optional<qint64> parsePeriod(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,12})([smhd])$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const qint64 count = match.captured(1).toLongLong();
    const QChar unit = match.captured(2).front();
    const qint64 factor = unit == u's' ? 1 : unit == u'm' ? 60 : unit == u'h' ? 3600 : 86400;
    return count * factor;
}

} // namespace

QString logToolUsage()
{
    return QStringLiteral(
        "usage: trovix-log show --style json [--predicate PREDICATE] [--info | --debug]\n"
        "                       [--last PERIOD]\n"
        "       trovix-log stream --style json [--predicate PREDICATE]\n"
        "                       [--level default | info | debug]\n"
        "Writes the entries of the system journal as a JSON array. PERIOD is a number\n"
        "followed by s, m, h or d (\"1h\", \"7d\").\n");
}

QString levelName(int maximumPriority)
{
    return maximumPriority >= 7   ? QStringLiteral("debug")
           : maximumPriority == 6 ? QStringLiteral("info")
                                  : QStringLiteral("default");
}

std::optional<LogRequest> parseLogRequest(const QStringList& arguments, QString* error)
{
    auto refuse = [error](const QString& message) {
        if (error) {
            *error = message;
        }
        return std::nullopt;
    };
    LogRequest request;
    if (arguments.isEmpty()) {
        return refuse(QStringLiteral("missing command: show or stream"));
    }
    if (arguments.front() == u"--help" || arguments.front() == u"-h") {
        request.help = true;
        return request;
    }
    if (arguments.front() == u"show") {
        request.mode = LogRequest::Mode::Show;
    } else if (arguments.front() == u"stream") {
        request.mode = LogRequest::Mode::Stream;
    } else {
        return refuse(
            QStringLiteral("unknown command \"%1\": use show or stream").arg(arguments.front()));
    }
    const bool show = request.mode == LogRequest::Mode::Show;

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const bool takesValue = option == u"--style" || option == u"--predicate" ||
                                (show && option == u"--last") || (!show && option == u"--level");
        if (takesValue && i + 1 >= arguments.size()) {
            return refuse(QStringLiteral("%1 needs a value").arg(option));
        }
        if (option == u"--help" || option == u"-h") {
            request.help = true;
        } else if (option == u"--style") {
            const QString& style = arguments[++i];
            if (style != u"json") {
                return refuse(
                    QStringLiteral("unsupported style \"%1\": only json is written").arg(style));
            }
        } else if (option == u"--predicate") {
            request.predicateText = arguments[++i];
        } else if (show && option == u"--info") {
            request.maximumPriority = std::max(request.maximumPriority, 6);
        } else if (show && option == u"--debug") {
            request.maximumPriority = 7;
        } else if (show && option == u"--last") {
            const QString& period = arguments[++i];
            request.lastSeconds = parsePeriod(period);
            if (!request.lastSeconds) {
                return refuse(QStringLiteral("invalid period \"%1\" for --last: use a number "
                                             "followed by s, m, h or d, as in 1h or 7d")
                                  .arg(period));
            }
            if (*request.lastSeconds > MaximumPeriodSeconds) {
                return refuse(QStringLiteral("period \"%1\" for --last is too long: at most "
                                             "100 years (36525d)")
                                  .arg(period));
            }
        } else if (!show && option == u"--level") {
            const QString& level = arguments[++i];
            if (level == u"default") {
                request.maximumPriority = 5;
            } else if (level == u"info") {
                request.maximumPriority = 6;
            } else if (level == u"debug") {
                request.maximumPriority = 7;
            } else {
                return refuse(
                    QStringLiteral("unknown level \"%1\": use default, info or debug").arg(level));
            }
        } else {
            return refuse(
                QStringLiteral("unknown option \"%1\" for %2").arg(option, arguments.front()));
        }
    }

    if (!request.predicateText.trimmed().isEmpty()) {
        QString reason;
        request.predicate = LogPredicate::parse(request.predicateText.toUtf8(), &reason);
        if (!request.predicate) {
            return refuse(QStringLiteral("invalid predicate: %1").arg(reason));
        }
    }
    return request;
}

} // namespace platform::logstore
