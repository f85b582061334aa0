#include "LogEntryRows.h"
#include "platform/logstore/LogJsonWriter.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace platform::logstore;
using namespace Qt::StringLiterals;

namespace {

QJsonArray parsedArray(const QByteArray& text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        qWarning("not a JSON array (%s): %s", qPrintable(error.errorString()), text.constData());
        return {};
    }
    return document.array();
}

QByteArray written(const QList<LogEntry>& entries)
{
    QByteArray out;
    LogJsonWriter writer(out);
    for (const LogEntry& entry : entries) {
        writer.writeEntry(entry);
    }
    writer.finish();
    return out;
}

} // namespace

class JsonWriterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Values that could break the array or the reader's cutting: every one
    // must come back unchanged (or decoded) from a JSON parser, and only the
    // ends of top-level objects may put "}" in the first column.
    void valuesSurviveAsJsonText_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("newline and brace") << QByteArray("a\n}\n},{\n[{") << u"a\n}\n},{\n[{"_s;
        QTest::newRow("tabs, quotes, backslash")
            << QByteArray("\t\"q\"\\\r\b\f") << u"\t\"q\"\\\r\b\f"_s;
        QTest::newRow("control and NUL")
            << QByteArray("a\0b\x01\x1f\x7f", 6) << u"a\0b\x01\x1f\x7f"_s;
        QTest::newRow("emoji and accents") << QByteArray("🎉 ü ß ✓") << u"🎉 ü ß ✓"_s;
        QTest::newRow("invalid bytes")
            << QByteArray("bad \xff\xfe end") << u"bad \ufffd\ufffd end"_s;
        QTest::newRow("cut sequence") << QByteArray("cut \xe2\x82") << u"cut \ufffd\ufffd"_s;
        QTest::newRow("overlong slash") << QByteArray("x\xc0\xafy") << u"x\ufffd\ufffdy"_s;
        QTest::newRow("surrogate bytes") << QByteArray("\xed\xa0\x80!") << u"\ufffd\ufffd\ufffd!"_s;
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void valuesSurviveAsJsonText()
    {
        QFETCH(QByteArray, message);
        QFETCH(QString, decoded);
        const QByteArray text = written({journalEntry({"MESSAGE=" + message, "NOTE=" + message}),
                                         journalEntry({"MESSAGE=second"})});
        const QJsonArray array = parsedArray(text);
        QCOMPARE(array.size(), 2);
        QCOMPARE(array[0].toObject()[u"eventMessage"].toString(), decoded);
        QCOMPARE(array[0].toObject()[u"NOTE"].toString(), decoded);
        QCOMPARE(text.count("\n}"), 2);
        QVERIFY(text.startsWith("[{\n"));
        QVERIFY(text.contains("\n},{\n"));
        QVERIFY(text.endsWith("\n}]\n"));
    }

    // The reported keys come from the journal's fields; the rest keep their
    // journal names, repeated fields as arrays, and nothing is reported twice.
    void mapsJournalFields()
    {
        const QByteArray text = written({journalEntry(
            {"MESSAGE=hello", "_EXE=/opt/Trovix.app/Contents/MacOS/trovix", "_PID=17",
             "SYSLOG_IDENTIFIER=trovix", "PRIORITY=6", "TAG=a", "_COMM=trovix", "TAG=b"},
            1796589937750883)});
        const QJsonObject entry = parsedArray(text)[0].toObject();
        QCOMPARE(entry[u"eventMessage"].toString(), u"hello");
        QCOMPARE(entry[u"processImagePath"].toString(), u"/opt/Trovix.app/Contents/MacOS/trovix");
        QCOMPARE(entry[u"senderImagePath"].toString(), u"/opt/Trovix.app/Contents/MacOS/trovix");
        QCOMPARE(entry[u"subsystem"].toString(), u"trovix");
        QCOMPARE(entry[u"eventType"].toString(), u"logEvent");
        QCOMPARE(entry[u"messageType"].toString(), u"Info");
        QCOMPARE(entry[u"processID"].toInteger(), 17);
        QCOMPARE(entry[u"PRIORITY"].toString(), u"6");
        QCOMPARE(entry[u"TAG"].toArray(), QJsonArray({u"a"_s, u"b"_s}));
        QCOMPARE(entry[u"_COMM"].toString(), u"trovix");
        for (const char* carried : {"MESSAGE", "_EXE", "_PID", "SYSLOG_IDENTIFIER"}) {
            QVERIFY2(!entry.contains(QLatin1StringView(carried)), carried);
        }
        QCOMPARE(text.count("\n}"), 1);
    }

    void writesTimestampsWithMicrosecondsAndZone()
    {
        qputenv("TZ", "UTC-05:30");
        tzset();
        const QJsonObject entry =
            parsedArray(written({journalEntry({"MESSAGE=x"}, 1796589937000042)}))[0].toObject();
        QCOMPARE(entry[u"timestamp"].toString(), u"2026-12-07 02:15:37.000042+0530");
        qunsetenv("TZ");
        tzset();
    }

    void processIdOnlyWhenNumeric_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QJsonValue>("reported");
        QTest::newRow("number") << QByteArray("_PID=123") << QJsonValue(123);
        QTest::newRow("not a number") << QByteArray("_PID=12a") << QJsonValue(u"12a"_s);
        QTest::newRow("missing") << QByteArray("OTHER=1") << QJsonValue(QJsonValue::Undefined);
    }
    void processIdOnlyWhenNumeric()
    {
        QFETCH(QByteArray, field);
        QFETCH(QJsonValue, reported);
        const QJsonObject entry = parsedArray(written({journalEntry({field})}))[0].toObject();
        QCOMPARE(entry.value(u"processID"), reported);
    }

    void emptyOutputIsAnEmptyArray() { QCOMPARE(written({}), QByteArray("[]\n")); }

    void messageTypeFollowsPriority_data()
    {
        QTest::addColumn<QByteArray>("priority");
        QTest::addColumn<QString>("type");
        const QList<std::pair<const char*, const char*>> rows = {
            {"0", "Fault"}, {"2", "Fault"}, {"3", "Error"},  {"4", "Default"}, {"5", "Default"},
            {"6", "Info"},  {"7", "Debug"}, {"", "Default"}, {"9", "Default"}, {"x", "Default"},
        };
        for (const auto& [priority, type] : rows) {
            QTest::addRow("PRIORITY=%s", priority)
                << QByteArray(priority) << QString::fromLatin1(type);
        }
    }
    void messageTypeFollowsPriority()
    {
        QFETCH(QByteArray, priority);
        QFETCH(QString, type);
        QCOMPARE(journalEntry({"PRIORITY=" + priority}).messageType(), type.toLatin1());
    }
};

TROVIX_TEST_GUILESS_MAIN(JsonWriterTest)
#include "json_writer_test.moc"
