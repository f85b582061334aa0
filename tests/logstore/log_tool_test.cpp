#include "LogEntryRows.h"
#include "platform/logstore/LogOutput.h"
#include "platform/logstore/LogTool.h"
#include "platform/logstore/memory/MemoryLogSource.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace platform::logstore;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 hour = 3600LL * 1000000;
constexpr qint64 now = 1796589937000000;

// Stored entries at each priority, an hour and a half to a minute old, and
// one from a day ago (an earlier boot, say).
MemoryLogSource sampleLog()
{
    MemoryLogSource source;
    source.setNow(now);
    source.store(journalEntry({"MESSAGE=yesterday", "PRIORITY=5"}, now - 24 * hour));
    for (int priority = 0; priority <= 7; ++priority) {
        source.store(journalEntry({"MESSAGE=p" + QByteArray::number(priority),
                                   "PRIORITY=" + QByteArray::number(priority)},
                                  now - 60000000 - priority));
    }
    source.store(journalEntry({"MESSAGE=old x"}, now - hour * 3 / 2));
    return source;
}

struct Run
{
    int status = -1;
    QByteArray out;
    QString messages;
};

Run run(MemoryLogSource& source, const QStringList& arguments)
{
    Run result;
    LogOutput out;
    result.status = runLogTool(arguments, source, out, &result.messages);
    result.out = out.buffer();
    return result;
}

// Arguments separated by spaces, for predicates without any.
Run run(MemoryLogSource& source, const QString& arguments)
{
    return run(source, arguments.split(u' ', Qt::SkipEmptyParts));
}

QStringList messagesOf(const QByteArray& json)
{
    QStringList messages;
    for (const QJsonValue& entry : QJsonDocument::fromJson(json).array()) {
        messages.append(entry.toObject()[u"eventMessage"].toString());
    }
    return messages;
}

} // namespace

class LogToolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showSelectsPeriodAndLevel_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("messages");
        const QStringList notice{u"p5"_s, u"p4"_s, u"p3"_s, u"p2"_s, u"p1"_s, u"p0"_s};
        QTest::newRow("default") << u"show --style json --last 1h"_s << notice;
        QTest::newRow("info") << u"show --style json --info --last 1h"_s
                              << QStringList{u"p6"_s} + notice;
        QTest::newRow("debug") << u"show --style json --debug --last 1h"_s
                               << QStringList{u"p7"_s, u"p6"_s} + notice;
        QTest::newRow("two hours, whole log")
            << u"show --style json --last 2h --predicate subsystem==\"\"&&eventMessage!=\"p0\""_s
            << QStringList{u"old x"_s, u"p5"_s, u"p4"_s, u"p3"_s, u"p2"_s, u"p1"_s};
        QTest::newRow("days reach earlier boots")
            << u"show --style json --last 2d --predicate eventMessage==\"yesterday\""_s
            << QStringList{u"yesterday"_s};
        QTest::newRow("minutes")
            << u"show --style json --last 2m --predicate eventMessage==\"p3\""_s
            << QStringList{u"p3"_s};
        QTest::newRow("a hundred years")
            << u"show --last 36525d --predicate eventMessage==\"yesterday\""_s
            << QStringList{u"yesterday"_s};
        QTest::newRow("no period")
            << u"show --predicate eventMessage==\"yesterday\""_s << QStringList{u"yesterday"_s};
        QTest::newRow("nothing matches")
            << u"show --predicate eventMessage==\"none\""_s << QStringList{};
    }
    void showSelectsPeriodAndLevel()
    {
        QFETCH(QString, arguments);
        QFETCH(QStringList, messages);
        MemoryLogSource source = sampleLog();
        const Run result = run(source, arguments);
        QCOMPARE(result.status, 0);
        QCOMPARE(messagesOf(result.out), messages);
        QVERIFY(result.out.startsWith("[") && result.messages.isEmpty());
    }

    // Usage errors leave stdout empty, so the reader never parses half an
    // answer, and name what is wrong.
    void refusesBadCommandLines_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QString() << u"missing command"_s;
        QTest::newRow("unknown command") << u"collect"_s << u"unknown command \"collect\""_s;
        QTest::newRow("unknown option") << u"show --verbose"_s << u"unknown option \"--verbose\""_s;
        QTest::newRow("level is stream's") << u"show --level info"_s << u"unknown option"_s;
        QTest::newRow("last is show's") << u"stream --last 1h"_s << u"unknown option"_s;
        QTest::newRow("text style") << u"show --style compact"_s << u"only json"_s;
        QTest::newRow("missing value") << u"show --predicate"_s << u"--predicate needs a value"_s;
        QTest::newRow("bad period") << u"show --last 1w"_s << u"invalid period \"1w\""_s;
        QTest::newRow("negative period") << u"show --last -1h"_s << u"invalid period"_s;
        QTest::newRow("period beyond a hundred years")
            << u"show --last 36526d"_s << u"period \"36526d\" for --last is too long"_s;
        QTest::newRow("period that overflows microseconds")
            << u"show --last 999999999999d"_s << u"at most 100 years"_s;
        QTest::newRow("bad level") << u"stream --level trace"_s << u"unknown level \"trace\""_s;
        QTest::newRow("bad predicate")
            << u"stream --predicate eventMessage=="_s << u"invalid predicate: missing text"_s;
    }
    void refusesBadCommandLines()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        MemoryLogSource source = sampleLog();
        const Run result = run(source, arguments);
        QCOMPARE(result.status, int(LogToolUsageError));
        QCOMPARE(result.out, QByteArray());
        QVERIFY2(result.messages.contains(message) && result.messages.contains(u"usage:"),
                 qPrintable(result.messages));
    }

    void unreadableLogIsReported()
    {
        MemoryLogSource source = sampleLog();
        source.setUnreadable(u"no system journal to read"_s);
        for (const QString& arguments : {u"show --last 1h"_s, u"stream --level info"_s}) {
            const Run result = run(source, arguments);
            QCOMPARE(result.status, int(LogToolCannotRead));
            QCOMPARE(result.out, QByteArray());
            QVERIFY(result.messages.contains(u"no system journal to read"));
        }
        // A bad command line is reported as such even without a journal.
        QCOMPARE(run(source, u"show --last 1x"_s).status, int(LogToolUsageError));
    }

    // Stream: one header line, then only entries written after it started, at
    // its level; the array is closed when following ends, and the output is
    // flushed each time the source has caught up.
    void streamFollowsNewEntries()
    {
        MemoryLogSource source = sampleLog();
        source.arriveLater(journalEntry({"MESSAGE=new x", "PRIORITY=6"}, now + 1));
        source.arriveLater(journalEntry({"MESSAGE=debug x", "PRIORITY=7"}, now + 2));
        source.arriveLater(journalEntry({"MESSAGE=other", "PRIORITY=6"}, now + 3));
        const Run result =
            run(source, QStringList{u"stream"_s, u"--style"_s, u"json"_s, u"--predicate"_s,
                                    u"eventMessage CONTAINS \"x\""_s, u"--level"_s, u"info"_s});
        QCOMPARE(result.status, 0);
        const qsizetype lineEnd = result.out.indexOf('\n');
        QCOMPARE(result.out.left(lineEnd),
                 "Following the journal at level info for entries matching: eventMessage "
                 "CONTAINS \"x\"");
        QVERIFY(result.out.sliced(lineEnd).startsWith("\n[{"));
        QCOMPARE(messagesOf(result.out.sliced(lineEnd + 1)), QStringList{u"new x"_s});
        QCOMPARE(source.idleCount(), 4);
    }

    void streamHeaderIsOneLine()
    {
        QCOMPARE(
            streamHeader(u"a == \"x\"\n|| b == \"\u2028\""_s, 7),
            u"Following the journal at level debug for entries matching: a == \"x\" || b == \" \"\n"_s);
        QCOMPARE(streamHeader(u" "_s, 5), u"Following the journal at level default\n"_s);
    }
};

TROVIX_TEST_GUILESS_MAIN(LogToolTest)
#include "log_tool_test.moc"
