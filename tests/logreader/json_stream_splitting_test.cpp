// Cutting the log tool's output into entries, whatever the chunking.
#include "logreader/ILRJSONLogSplitter.h"
#include "support/TestProgram.h"

#include <QJsonDocument>
#include <QtTest>

namespace {

// The tool's pretty-printed shape: each top-level object closes in the first
// column, nested ones deeper in.
QByteArray object(const QByteArray& message, const QByteArray& extra = {})
{
    return "{\n  \"eventMessage\" : \"" + message + "\",\n  \"processID\" : 7" + extra + "\n}";
}

QByteArray array(const QList<QByteArray>& objects, const QByteArray& header = {})
{
    QByteArray bytes = header;
    bytes += "[";
    for (qsizetype i = 0; i < objects.size(); ++i) {
        bytes += objects.at(i);
        bytes += i + 1 < objects.size() ? "," : "]\n";
    }
    return bytes;
}

QStringList messages(const QList<QJsonObject>& objects)
{
    QStringList list;
    for (const QJsonObject& object : objects) {
        list.append(object.value(QLatin1String("eventMessage")).toString());
    }
    return list;
}

QStringList splitWhole(const QByteArray& bytes)
{
    ILRJSONLogSplitter splitter;
    return messages(splitter.append(bytes));
}

} // namespace

class JsonStreamSplittingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliversCompleteObjects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");

        const QByteArray a = object("a");
        const QByteArray b = object("b", ",\n  \"nested\" : {\n    \"x\" : 1\n  }");
        QTest::newRow("array without header") << array({a, b}) << QStringList{"a", "b"};
        QTest::newRow("stream header dropped")
            << array({a, b}, "Filtering the log data using \"x CONTAINS {y}\"\n")
            << QStringList{"a", "b"};
        QTest::newRow("unfinished last object stays")
            << QByteArray("[" + a + ",{\n  \"eventMessage\" : \"c\"") << QStringList{"a"};
        QTest::newRow("nothing but the bracket") << QByteArray("[]\n") << QStringList{};
        QTest::newRow("escaped newline, tab, emoji")
            << array({object("one\\ntwo\\tthree \xF0\x9F\x91\x80")})
            << QStringList{QStringLiteral("one\ntwo\tthree \U0001F440")};
        QTest::newRow("invalid UTF-8 is replaced, not lost")
            << array({a, object("bad \xC3\x28 byte"), b})
            << QStringList{"a", QStringLiteral("bad \uFFFD( byte"), "b"};
        QTest::newRow("broken object dropped, neighbours kept")
            << array({a, "{\n  \"eventMessage\" : oops\n}", b}) << QStringList{"a", "b"};
    }

    void deliversCompleteObjects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(splitWhole(bytes), expected);
    }

    // The same objects arrive, in order, however the output is cut: at every
    // pair of cut points, and byte by byte.
    void chunkingNeverChangesTheResult()
    {
        const QByteArray bytes =
            array({object("a"), object("b\\n}"), object("c")}, "Filtering the log data\n");
        const QStringList expected{"a", "b\n}", "c"};
        for (qsizetype first = 0; first <= bytes.size(); ++first) {
            for (qsizetype second = first; second <= bytes.size(); ++second) {
                ILRJSONLogSplitter splitter;
                QStringList got = messages(splitter.append(bytes.first(first)));
                got += messages(splitter.append(bytes.sliced(first, second - first)));
                got += messages(splitter.append(bytes.sliced(second)));
                QVERIFY2(got == expected,
                         qPrintable(QStringLiteral("cut at %1 and %2").arg(first).arg(second)));
            }
        }
        ILRJSONLogSplitter splitter;
        QStringList got;
        for (char byte : bytes) {
            got += messages(splitter.append(QByteArrayView(&byte, 1)));
        }
        QCOMPARE(got, expected);
    }

    // A batch is delivered as soon as its last "\n}" arrives; the unfinished
    // object after it waits for its own.
    void eachChunkDeliversWhatItCompleted()
    {
        ILRJSONLogSplitter splitter;
        QCOMPARE(
            messages(splitter.append(QByteArray("[" + object("a") + "," + object("b") + ",{\n"))),
            (QStringList{"a", "b"}));
        QCOMPARE(messages(splitter.append("  \"eventMessage\" : \"c\"")), QStringList());
        QCOMPARE(messages(splitter.append("\n}]\n")), QStringList{"c"});
        QCOMPARE(splitter.bufferedSize(), 2);
    }

    // Output that never parses or never closes an object keeps memory
    // bounded: broken spans are dropped, overlong runs capped.
    void garbageStaysBounded_data()
    {
        QTest::addColumn<QByteArray>("piece");
        QTest::newRow("boundaries that never parse") << QByteArray("{ not json\n}");
        QTest::newRow("no boundary at all") << QByteArray("{\"x\": [1, 2, 3, 4, 5, 6, 7, 8]");
    }

    void garbageStaysBounded()
    {
        QFETCH(QByteArray, piece);
        const qsizetype cap = 64 * 1024;
        ILRJSONLogSplitter splitter(cap);
        for (int i = 0; i < 20000; ++i) {
            QVERIFY(splitter.append(piece).isEmpty());
            QVERIFY(splitter.bufferedSize() <= cap + piece.size());
        }
        QVERIFY(splitter.droppedCount() > 0);
        // Good output after the garbage is read again.
        QCOMPARE(messages(splitter.append(QByteArray("\n}," + object("after") + "]"))),
                 QStringList{"after"});
    }
};

TROVIX_TEST_GUILESS_MAIN(JsonStreamSplittingTest)
#include "json_stream_splitting_test.moc"
