// Merging the archive query, the live stream and the gap fill into one list.
#include "../logstore/LogEntryRows.h"
#include "LogFixture.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRIntegratedLogReaderDelegate.h"
#include "platform/logstore/LogPredicate.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

class LevelDelegate : public ILRIntegratedLogReaderDelegate
{
public:
    explicit LevelDelegate(qint64 level) : m_level(level) {}
    bool respondsToFilteringLevel() const override { return true; }
    qint64 filteringLevelForLogReader(ILRIntegratedLogReader&) override { return m_level; }

private:
    qint64 m_level;
};

QByteArray at(int second)
{
    return QStringLiteral("2026-12-06 10:00:%1.000000+0000")
        .arg(second, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QStringList messages(const ILRIntegratedLogReader& reader)
{
    QStringList list;
    for (const ILRLogEntry& entry : reader.logEntries()) {
        list.append(entry.eventMessage());
    }
    return list;
}

// The "--last" value of every archive run.
QStringList periods(const LogFixture& fixture)
{
    QStringList list;
    for (const QString& run : fixture.runs()) {
        if (run.startsWith(QLatin1String("show"))) {
            list.append(run.section(u' ', -1));
        }
    }
    return list;
}

// A reader on the fixture tool, its query worked out.
struct ReaderFixture
{
    TemporaryDefaults defaults;
    LogFixture log;
    ILRIntegratedLogReader reader;

    ReaderFixture()
    {
        ILRIntegratedLogReader::setLogToolPath(LogFixture::tool());
        ILRIntegratedLogReader::setSystemLogReadableForTesting(true);
        reader.updateQuerySettings();
    }
    ~ReaderFixture()
    {
        reader.reset();
        ILRIntegratedLogReader::setLogToolPath({});
        ILRIntegratedLogReader::setSystemLogReadableForTesting(std::nullopt);
    }

    // Runs one query step and waits for its archive query to end.
    bool run(const std::function<void()>& step)
    {
        QSignalSpy finished(&reader, &ILRIntegratedLogReader::archiveQueryFinished);
        step();
        return finished.wait(20000);
    }
};

} // namespace

class LogQueryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentsFollowTheLevel_data()
    {
        QTest::addColumn<qint64>("level");
        QTest::addColumn<QString>("streamLevel");
        QTest::addColumn<QString>("archiveFlag");
        QTest::addColumn<bool>("wrapped");
        QTest::newRow("default") << qint64(0) << "default"
                                 << "" << true;
        QTest::newRow("info") << qint64(1) << "info"
                              << "--info" << true;
        QTest::newRow("debug") << qint64(2) << "debug"
                               << "--debug" << false;
        QTest::newRow("unknown level reads as default") << qint64(5) << "default"
                                                        << "" << true;
    }

    void argumentsFollowTheLevel()
    {
        QFETCH(qint64, level);
        QFETCH(QString, streamLevel);
        QFETCH(QString, archiveFlag);
        QFETCH(bool, wrapped);
        LevelDelegate delegate(level);
        ILRIntegratedLogReader reader;
        reader.setDelegate(&delegate);
        reader.updateQuerySettings();
        const QString predicate = reader.filteringPredicate();
        QVERIFY(predicate.contains(QLatin1String("(processImagePath CONTAINS \"/")));
        QCOMPARE(predicate.startsWith(QLatin1String("(eventType == \"logEvent\")")), wrapped);

        QStringList live{"stream",  "--style", "json",     "--predicate",
                         predicate, "--level", streamLevel};
        QCOMPARE(reader.liveStreamArguments(), live);
        QStringList archive{"show", "--style", "json", "--predicate", predicate};
        if (!archiveFlag.isEmpty()) {
            archive << archiveFlag;
        }
        QCOMPARE(reader.archiveArguments(), archive);
    }

    // The bundle's folder name is quoted as the tool reads texts: a quote,
    // a backslash or a control character in it neither breaks the predicate
    // nor changes what it selects.
    void defaultPredicateQuotesTheFolderName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "Trovix.app";
        QTest::newRow("quotes") << "My \"Tools\".app";
        QTest::newRow("backslashes") << "back\\slash\\.app";
        QTest::newRow("control characters") << "tab\tline\nbell\a.app";
    }

    void defaultPredicateQuotesTheFolderName()
    {
        QFETCH(QString, folder);
        using platform::logstore::LogPredicate;
        const auto executable = [](const QString& path) {
            return journalEntry({"_EXE=" + path.toUtf8(), "MESSAGE=m", "PRIORITY=5"});
        };
        for (const qint64 level : {0, 2}) {
            const QString predicate = ILRIntegratedLogReader::defaultPredicate(level, folder);
            QString error;
            const std::optional<LogPredicate> parsed =
                LogPredicate::parse(predicate.toUtf8(), &error);
            QVERIFY2(parsed, qPrintable(error + u'\n' + predicate));
            QVERIFY(parsed->matches(executable("/opt/" + folder + "/Contents/MacOS/trovix")));
            QVERIFY(!parsed->matches(executable("/opt/Other.app/Contents/MacOS/trovix")));
        }
    }

    // The first run asks for one hour; archive entries go in front of the
    // live ones, and the list is in date order. An entry written while both
    // start reaches both and is shown once.
    void firstRunMergesArchiveAndLive()
    {
        ReaderFixture f;
        f.log.setShow(
            LogFixture::array({LogFixture::entry("old b", at(2)), LogFixture::entry("old a", at(1)),
                               LogFixture::entry("live", at(30))}));
        f.log.setStream(LogFixture::array({LogFixture::entry("live", at(30))}, "Filtering\n"));
        QVERIFY(f.run([&] { f.reader.updateLogAfterIncreasingNumberOfDays(false); }));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), (QStringList{"old a", "old b", "live"}),
                                  10000);
        QCOMPARE(periods(f.log), QStringList{"1h"});
        QCOMPARE(f.reader.archiveInsertionIndex(), -1);

        // A line written later arrives on its own.
        f.log.appendStream("," + LogFixture::entry("later", at(40)));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader).size(), 4, 10000);
        QCOMPARE(messages(f.reader).constLast(), QStringLiteral("later"));
    }

    // Only an entry that reached both the archive query and the live stream
    // is shown once; entries alike in every respect from one side are
    // genuine and all shown, and one live entry matches only one archived.
    void duplicatesOnlyAcrossArchiveAndLive()
    {
        ReaderFixture f;
        const QByteArray twin = LogFixture::entry("twin", at(1));
        const QByteArray both = LogFixture::entry("both", at(2));
        const QByteArray twice = LogFixture::entry("twice, once live", at(3));
        const QByteArray liveTwin = LogFixture::entry("live twin", at(40));
        f.log.setShow(LogFixture::array({twin, twin, both, twice, twice}));
        f.log.setStream(LogFixture::array({both, twice, liveTwin, liveTwin}, "Filtering\n"));
        QVERIFY(f.run([&] { f.reader.updateLogAfterIncreasingNumberOfDays(false); }));
        const QStringList expected{
            "twin",      "twin",     "both", "twice, once live", "twice, once live",
            "live twin", "live twin"};
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), expected, 10000);

        // After the archive query, a live entry like an earlier live one is
        // new.
        f.log.appendStream("," + liveTwin);
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader).count(QStringLiteral("live twin")), 3, 10000);
    }

    // Find earlier widens the period step by step and inserts only entries
    // older than the list's first; the archive stops at the first one that is
    // not.
    void findEarlierExtendsThePeriod()
    {
        ReaderFixture f;
        f.log.setShow(LogFixture::array({LogFixture::entry("first", at(10))}));
        QVERIFY(f.run([&] { f.reader.updateLogAfterIncreasingNumberOfDays(false); }));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), QStringList{"first"}, 10000);

        f.log.setShow(LogFixture::array({LogFixture::entry("older", at(5)),
                                         LogFixture::entry("first", at(10)),
                                         LogFixture::entry("never", at(3))}));
        for (int i = 0; i < 4; ++i) {
            QVERIFY(f.run([&] { f.reader.findEarlierResults(); }));
        }
        QCOMPARE(periods(f.log), (QStringList{"1h", "1d", "7d", "14d", "21d"}));
        QCOMPARE(f.reader.numberOfDays(), 21);
        QCOMPARE(messages(f.reader), (QStringList{"older", "first"}));
    }

    // Clearing empties the list and runs no archive query; the live stream
    // goes on, and the next find earlier asks for one hour again.
    void clearKeepsOnlyNewEntries()
    {
        ReaderFixture f;
        f.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        f.log.setStream("Filtering\n[");
        QVERIFY(f.run([&] { f.reader.updateLogAfterIncreasingNumberOfDays(false); }));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), QStringList{"archived"}, 10000);

        f.reader.clear();
        QCOMPARE(f.reader.numberOfDays(), -1);
        QVERIFY(f.reader.logEntries().isEmpty());
        QCOMPARE(f.reader.archiveInsertionIndex(), -1);
        QCOMPARE(periods(f.log), QStringList{"1h"});

        f.log.appendStream(LogFixture::entry("new", at(50)));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), QStringList{"new"}, 10000);

        f.log.setShow(LogFixture::array({LogFixture::entry("archived", at(1))}));
        QVERIFY(f.run([&] { f.reader.findEarlierResults(); }));
        QCOMPARE(periods(f.log), (QStringList{"1h", "1h"}));
        QCOMPARE(messages(f.reader), (QStringList{"archived", "new"}));
    }

    // The gap fill adds only what lies strictly between the archive's last
    // entry and the live stream's first.
    void gapFillAddsOnlyTheGap()
    {
        ReaderFixture f;
        f.log.setShow(LogFixture::array({LogFixture::entry("archived", at(10))}));
        f.log.setStream(LogFixture::array({LogFixture::entry("live", at(30))}, "Filtering\n"));
        QSignalSpy finished(&f.reader, &ILRIntegratedLogReader::archiveQueryFinished);
        f.reader.updateLogAfterIncreasingNumberOfDays(false);
        QVERIFY(finished.wait(20000));
        QTRY_COMPARE_WITH_TIMEOUT(messages(f.reader), (QStringList{"archived", "live"}), 10000);
        f.log.setShow(LogFixture::array({LogFixture::entry("archived", at(10)),
                                         LogFixture::entry("between", at(20)),
                                         LogFixture::entry("live", at(30))}));
        QTRY_VERIFY_WITH_TIMEOUT(finished.size() >= 2, 30000);
        QCOMPARE(messages(f.reader), (QStringList{"archived", "between", "live"}));
        QVERIFY(periods(f.log).constLast().endsWith(u'm'));
    }

    // A tool that is missing or prints nothing useful gives an empty list,
    // and the run still ends.
    void badToolsGiveAnEmptyList_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("missing tool") << "/nonexistent/trovix-log" << QByteArray();
        QTest::newRow("output that never parses")
            << LogFixture::tool() << QByteArray("[{ nonsense\n},\n{ more\n}]\n");
        QTest::newRow("no output") << LogFixture::tool() << QByteArray();
    }

    void badToolsGiveAnEmptyList()
    {
        QFETCH(QString, tool);
        QFETCH(QByteArray, output);
        ReaderFixture f;
        ILRIntegratedLogReader::setLogToolPath(tool);
        f.log.setShow(output);
        QVERIFY(f.run([&] { f.reader.updateLogAfterIncreasingNumberOfDays(false); }));
        QVERIFY(f.reader.logEntries().isEmpty());
        QVERIFY(f.reader.hasLogEntryList());
    }

    void timestamps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("utc") << "2026-12-06 10:00:00.000001+0000" << qint64(1796551200000001);
        QTest::newRow("zone ahead")
            << "2026-12-06 11:00:00.000001+0100" << qint64(1796551200000001);
        QTest::newRow("zone behind")
            << "2026-12-06 05:30:00.000001-0430" << qint64(1796551200000001);
        QTest::newRow("no microseconds") << "2026-12-06 10:00:00+0000" << ILRLogEntry::DistantPast;
        QTest::newRow("no zone") << "2026-12-06 10:00:00.000001" << ILRLogEntry::DistantPast;
        QTest::newRow("day 32") << "2026-12-32 10:00:00.000001+0000" << ILRLogEntry::DistantPast;
        QTest::newRow("letters") << "2026-12-06 1a:00:00.000001+0000" << ILRLogEntry::DistantPast;
        QTest::newRow("empty") << "" << ILRLogEntry::DistantPast;
    }

    void timestamps()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        const ILRLogEntry entry(QJsonObject{{QStringLiteral("timestamp"), text}});
        QCOMPARE(entry.date(), expected);
        QCOMPARE(entry.dateText() == QStringLiteral("?"), expected == ILRLogEntry::DistantPast);
    }
};

TROVIX_TEST_MAIN(LogQueryTest)
#include "log_query_test.moc"
