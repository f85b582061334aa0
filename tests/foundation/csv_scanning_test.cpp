#include "foundation/QXCSVParser.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QtTest>

using QXCSVParser::CSVScanner;

using OptionalList = std::optional<QStringList>;
Q_DECLARE_METATYPE(OptionalList)

class CSVScanningTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QXCSVParser::setDefaultFieldSeparatorForTesting(QStringLiteral(",")); }
    void cleanupTestCase() { QXCSVParser::setDefaultFieldSeparatorForTesting(std::nullopt); }

    void flatScan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<OptionalList>("expected");

        const auto row = [](const char* name, const char* text, const char* separator, bool trim,
                            OptionalList expected) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(separator) << trim
                                << expected;
        };
        const auto list = [](QStringList values) { return OptionalList(std::move(values)); };
        row("trimmed around the middle value", "a, b ,c", ",", true, list({"a", "b", "c"}));
        row("untrimmed keeps the spaces", "a, b ,c", ",", false, list({"a", " b ", "c"}));
        row("quoted comma and space", "x,\"a, b\",y", ",", true, list({"x", "a, b", "y"}));
        row("doubled quote", "\"say \"\"hi\"\"\",z", ",", true, list({"say \"hi\"", "z"}));
        row("spaces inside quotes survive trimming", "  \" padded \"  ,b", ",", true,
            list({" padded ", "b"}));
        row("line break inside quotes", "\"two\nlines\",b\nc", ",", true,
            list({"two\nlines", "b", "c"}));
        row("empty fields dropped", "a,,b", ",", true, list({"a", "b"}));
        row("separator is a whole string", "a::b:c", "::", true, list({"a", "b:c"}));
        row("quote inside a value is no marker", "\"x\"\"y\" \"z\"", ",", true, list({"x\"y z"}));
        row("quoted text next to plain text", "ab\"c,d\"ef", ",", true, list({"abc,def"}));
        row("empty separator splits lines only", "a,b\nc", "", true, list({"a,b", "c"}));
        row("unclosed quote", "a,\"b", ",", true, OptionalList());
        row("unclosed after doubled quote", "\"a\"\"", ",", true, OptionalList());
    }

    void flatScan()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(bool, trim);
        QFETCH(OptionalList, expected);
        CSVScanner scanner = CSVScanner::CSVScannerWithString(text);
        QCOMPARE(scanner.scanCSVWithFieldSeparator(separator, trim), expected);
    }

    void scanConsumesTheScanner()
    {
        CSVScanner scanner = CSVScanner::CSVScannerWithString(QStringLiteral("a,b"));
        QCOMPARE(scanner.scanCSVWithFieldSeparator(QStringLiteral(","), true),
                 OptionalList(QStringList{"a", "b"}));
        QVERIFY(scanner.isAtEnd());
        QCOMPARE(scanner.scanCSVWithFieldSeparator(QStringLiteral(","), true),
                 OptionalList(QStringList{}));
    }

    void recordsKeepEmptyFields()
    {
        LogCapture log;
        const auto records = CSVScanner::CSVScannerWithString(QStringLiteral("a,,b\n1, \"2,3\" ,4"))
                                 .scanCSVRecordsWithFieldSeparator(QStringLiteral(","), true);
        QVERIFY(records);
        QCOMPARE(*records, (QList<QStringList>{{"a", "", "b"}, {"1", "2,3", "4"}}));
        QVERIFY(log.lines().isEmpty());
    }

    void recordOfWrongLengthIsLoggedAndDropped()
    {
        LogCapture log;
        const auto records = CSVScanner::CSVScannerWithString(QStringLiteral("a,b\n\"x\"\nc,\"d\""))
                                 .scanCSVRecordsWithFieldSeparator(QStringLiteral(","), true);
        QVERIFY(records);
        // The dropped record used up its quoted value; "d" still lands in its own record.
        QCOMPARE(*records, (QList<QStringList>{{"a", "b"}, {"c", "d"}}));
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[QXCSVParser] incorrect number of fields in record: "
                                            "(\"x\") (expected: 2; raw line: \")")});
    }

    void listFunction_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<OptionalList>("expected");

        const auto row = [](const char* name, const char* text, const char* separator,
                            OptionalList expected) {
            QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(separator)
                                << expected;
        };
        row("plain list", " Edit , View\r\n\nWindow", "", QStringList{"Edit", "View", "Window"});
        row("unclosed quote keeps the whole text", "  a, \"b  \n", "", QStringList{"a, \"b"});
        row("only separators and blanks", " , ,\n ,\r\n", "", OptionalList());
        row("empty text", "", "", OptionalList());
        row("only an empty quoted value falls back to the quotes", "\"\"", "", QStringList{"\"\""});
        row("given separator", "a;b,c", ";", QStringList{"a", "b,c"});
        row("separator characters trimmed in the fallback", ";\"x;", ";", QStringList{"\"x"});
    }

    void listFunction()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(OptionalList, expected);
        QCOMPARE(QXArrayFromCSVString(text, separator), expected);
    }

    void defaultSeparatorComesFromTheSettingOnce()
    {
        TemporaryDefaults defaults;
        defaults.defaults().setObject(QStringLiteral(" ;\n"),
                                      QString::fromLatin1(QXCSVParser::defaultFieldSeparatorKey));
        QXCSVParser::setDefaultFieldSeparatorForTesting(std::nullopt);
        QCOMPARE(QXArrayFromCSVString(QStringLiteral("a;b,c")),
                 OptionalList(QStringList{"a", "b,c"}));

        // Read once: a later change waits for the next start.
        defaults.defaults().setObject(QStringLiteral("|"),
                                      QString::fromLatin1(QXCSVParser::defaultFieldSeparatorKey));
        QCOMPARE(QXCSVParser::defaultFieldSeparator(), QStringLiteral(";"));
    }

    void defaultSeparatorIgnoresBlankAndNonStringSettings_data()
    {
        QTest::addColumn<QVariant>("setting");
        QTest::newRow("absent") << QVariant();
        QTest::newRow("white space only") << QVariant(QStringLiteral(" \t\n"));
        QTest::newRow("not a string") << QVariant(42);
    }

    void defaultSeparatorIgnoresBlankAndNonStringSettings()
    {
        QFETCH(QVariant, setting);
        TemporaryDefaults defaults;
        if (setting.isValid()) {
            defaults.defaults().setObject(
                setting, QString::fromLatin1(QXCSVParser::defaultFieldSeparatorKey));
        }
        QXCSVParser::setDefaultFieldSeparatorForTesting(std::nullopt);
        QCOMPARE(QXCSVParser::defaultFieldSeparator(), QStringLiteral(","));
    }
};

TROVIX_TEST_GUILESS_MAIN(CSVScanningTest)
#include "csv_scanning_test.moc"
