// Running the log tool and reading its output as it arrives.
#include "LogFixture.h"
#include "logreader/ILRJSONLogStream.h"
#include "support/TestProgram.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtTest>

namespace {

// Collects what a stream delivers, from its reading thread.
struct Collector
{
    QMutex mutex;
    QStringList messages;
    int batches = 0;

    ILRJSONLogStream::OutputHandler handler(bool answer = true)
    {
        return [this, answer](const QList<ILRLogEntry>& batch) {
            QMutexLocker locker(&mutex);
            ++batches;
            for (const ILRLogEntry& entry : batch) {
                messages.append(entry.eventMessage());
            }
            return answer;
        };
    }
    QStringList received()
    {
        QMutexLocker locker(&mutex);
        return messages;
    }
};

QByteArray entries(int count)
{
    QList<QByteArray> list;
    for (int i = 0; i < count; ++i) {
        list.append(LogFixture::entry(QByteArray::number(i), "2026-12-06 10:00:00.000000+0000"));
    }
    return LogFixture::array(list, "Filtering the log data\n");
}

QStringList numbers(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list.append(QString::number(i));
    }
    return list;
}

} // namespace

class JsonStreamProcessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneShotQueryDeliversEverything_data()
    {
        QTest::addColumn<QByteArray>("chunk");
        QTest::newRow("all at once") << QByteArray();
        QTest::newRow("byte by byte") << QByteArray("1");
        QTest::newRow("odd chunks") << QByteArray("7");
    }

    void oneShotQueryDeliversEverything()
    {
        QFETCH(QByteArray, chunk);
        LogFixture fixture;
        fixture.setShow(entries(50));
        if (!chunk.isEmpty()) {
            qputenv("LOG_FIXTURE_CHUNK", chunk);
        }
        Collector collector;
        QVERIFY(ILRJSONLogStream::waitForStream(LogFixture::tool(), {QStringLiteral("show")},
                                                collector.handler()));
        QCOMPARE(collector.received(), numbers(50));
        QCOMPARE(fixture.runs(), QStringList{QStringLiteral("show")});
    }

    // A handler that answers false stops a tool that would otherwise never
    // end; the wait returns.
    void refusalStopsTheTool()
    {
        LogFixture fixture;
        fixture.setShow(entries(3));
        qputenv("LOG_FIXTURE_THEN", "hang");
        Collector collector;
        QVERIFY(ILRJSONLogStream::waitForStream(LogFixture::tool(), {QStringLiteral("show")},
                                                collector.handler(false)));
        QCOMPARE(collector.received(), numbers(3));
    }

    // A live stream goes on until terminated, then delivers nothing more and
    // its child is gone.
    void terminateEndsTheLiveStream()
    {
        LogFixture fixture;
        fixture.setStream(entries(2));
        Collector collector;
        const auto stream = ILRJSONLogStream::start(LogFixture::tool(), {QStringLiteral("stream")},
                                                    collector.handler(false), false);
        QVERIFY(stream);
        QTRY_COMPARE_WITH_TIMEOUT(collector.received(), numbers(2), 10000);
        QVERIFY(stream->isRunning());
        stream->terminate();
        stream->waitUntilExit();
        QVERIFY(!stream->isRunning());
        fixture.appendStream("," + LogFixture::entry("late", "2026-12-06 10:00:01.000000+0000") +
                             "]\n");
        stream->terminate();
        QCOMPARE(collector.received(), numbers(2));
    }

    // A tool that dies in the middle of an object: the complete ones arrive,
    // the torn one is never reported, the wait ends.
    void toolDyingMidObject()
    {
        LogFixture fixture;
        QByteArray bytes = entries(3);
        bytes.chop(40);
        fixture.setShow(bytes);
        qputenv("LOG_FIXTURE_THEN", "die");
        Collector collector;
        QVERIFY(ILRJSONLogStream::waitForStream(LogFixture::tool(), {QStringLiteral("show")},
                                                collector.handler()));
        QCOMPARE(collector.received(), numbers(2));
    }

    void missingToolCannotStart()
    {
        Collector collector;
        QVERIFY(!ILRJSONLogStream::start(QStringLiteral("/nonexistent/trovix-log"), {},
                                         collector.handler(), false));
        QVERIFY(!ILRJSONLogStream::waitForStream(QStringLiteral("/nonexistent/trovix-log"), {},
                                                 collector.handler()));
        QCOMPARE(collector.batches, 0);
    }
};

TROVIX_TEST_GUILESS_MAIN(JsonStreamProcessTest)
#include "json_stream_process_test.moc"
