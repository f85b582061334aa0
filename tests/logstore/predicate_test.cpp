#include "LogEntryRows.h"
#include "platform/logstore/LogPredicate.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace platform::logstore;

namespace {

// What a program in the bundle writes through syslog(3).
LogEntry trovixEntry()
{
    return journalEntry({"MESSAGE=[ILR] cannot read \"x\"",
                         "_EXE=/opt/Trovix.app/Contents/MacOS/trovix", "SYSLOG_IDENTIFIER=trovix",
                         "_PID=4242", "PRIORITY=3", "_SYSTEMD_UNIT=session-2.scope"});
}

const char* const readerPredicate =
    "(eventType == \"logEvent\") && !(subsystem BEGINSWITH \"com.apple\") && "
    "((processImagePath CONTAINS \"/Trovix.app/\") || (senderImagePath CONTAINS \"/Trovix.app/\")) "
    "&& !(senderImagePath ENDSWITH \"AggregateDictionary\") && !(senderImagePath ENDSWITH "
    "\"/CFNetwork\")";

void row(const char* predicate, bool matches)
{
    QTest::newRow(predicate) << QByteArray(predicate) << matches;
}

} // namespace

class PredicateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void evaluatesAgainstAnEntry_data()
    {
        QTest::addColumn<QByteArray>("predicate");
        QTest::addColumn<bool>("matches");
        row(readerPredicate, true);
        row("processImagePath CONTAINS \"/Other.app/\" || senderImagePath CONTAINS "
            "\"/Trovix.app/\"",
            true);
        // Operators, keys derived from journal fields, and journal names.
        row("eventMessage BEGINSWITH \"[ILR]\"", true);
        row("eventMessage ENDSWITH \"\\\"x\\\"\"", true);
        row("messageType == \"Error\"", true);
        row("processID == 4242", true);
        row("processID == \"4242\"", true);
        row("processID != 4242", false);
        row("_SYSTEMD_UNIT ENDSWITH '.scope'", true);
        row("subsystem == \"Trovix\"", false);
        // A missing key compares as an empty string.
        row("category == \"\"", true);
        row("category CONTAINS \"\"", true);
        row("category != \"\"", false);
        // Precedence: ! before && before ||, parentheses override, keywords in
        // any case.
        row("subsystem == \"x\" && subsystem == \"y\" || subsystem == \"trovix\"", true);
        row("subsystem == \"trovix\" || subsystem == \"y\" && subsystem == \"x\"", true);
        row("(subsystem == \"trovix\" || subsystem == \"y\") && subsystem == \"x\"", false);
        row("!subsystem == \"x\" && NOT (subsystem == \"y\")", true);
        row("!!(subsystem == \"trovix\")", true);
        row("subsystem contains \"ovi\" and not (messageType == \"Fault\") or false == 1", true);
        // Escapes decode before comparing.
        row("eventMessage CONTAINS \"\\u0022x\\u0022\"", true);
        row("eventMessage CONTAINS \"\\\\\"", false);
    }
    void evaluatesAgainstAnEntry()
    {
        QFETCH(QByteArray, predicate);
        QFETCH(bool, matches);
        QString error;
        const std::optional<LogPredicate> parsed = LogPredicate::parse(predicate, &error);
        QVERIFY2(parsed, qPrintable(error));
        QCOMPARE(parsed->matches(trovixEntry()), matches);

        // The journal source judges an entry on just the fields the
        // predicate reads; the answer must be the same.
        const LogEntry whole = trovixEntry();
        LogEntry partial;
        partial.setRealtime(whole.realtime());
        for (const QByteArray& field : parsed->journalFieldsRead()) {
            if (!whole.journalValue(field).isEmpty()) {
                partial.addJournalField(field, whole.journalValue(field));
            }
        }
        QCOMPARE(parsed->matches(partial), matches);
    }

    void escapesDecodeToUtf8()
    {
        const LogEntry entry = journalEntry({"MESSAGE=tab\there\nnewline 🎉 ü"});
        for (const char* predicate :
             {"eventMessage == \"tab\\there\\nnewline \\ud83c\\udf89 \\u00fc\"",
              "eventMessage CONTAINS '🎉 ü'"}) {
            QString error;
            const auto parsed = LogPredicate::parse(predicate, &error);
            QVERIFY2(parsed, qPrintable(error));
            QVERIFY2(parsed->matches(entry), predicate);
        }
    }

    void refusesMalformedText_data()
    {
        QTest::addColumn<QByteArray>("predicate");
        QTest::addColumn<QString>("message");
        QTest::newRow("no operand") << QByteArray("eventMessage ==") << "missing text";
        QTest::newRow("no operator") << QByteArray("eventMessage") << "missing operator";
        QTest::newRow("unknown operator") << QByteArray("eventMessage LIKE \"x\"") << "expected ==";
        QTest::newRow("bare word") << QByteArray("eventMessage == x") << "expected a quoted text";
        QTest::newRow("unterminated") << QByteArray("eventMessage == \"x") << "unterminated";
        QTest::newRow("unknown escape")
            << QByteArray("eventMessage == \"\\q\"") << "unknown escape";
        QTest::newRow("short \\u") << QByteArray("eventMessage == \"\\u12\"") << "four hexadecimal";
        QTest::newRow("lone surrogate") << QByteArray("eventMessage == \"\\ud800\"") << "surrogate";
        QTest::newRow("open paren") << QByteArray("(eventMessage == \"x\"") << "missing \")\"";
        QTest::newRow("stray paren") << QByteArray("eventMessage == \"x\")") << "unexpected text";
        QTest::newRow("dangling &&") << QByteArray("eventMessage == \"x\" &&") << "unexpected end";
        QTest::newRow("empty parens") << QByteArray("()") << "expected a key";
        QTest::newRow("lone !") << QByteArray("!") << "unexpected end";
        QTest::newRow("too deep") << QByteArray(101, '(') + "a == \"b\"" + QByteArray(101, ')')
                                  << "nested more than 100";
        QTest::newRow("too many negations") << QByteArray(200, '!') + "a == \"b\""
                                            << "nested";
    }
    void refusesMalformedText()
    {
        QFETCH(QByteArray, predicate);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!LogPredicate::parse(predicate, &error));
        QVERIFY2(error.contains(message) && error.contains(u"at offset"), qPrintable(error));
    }

    // Long chains are folded into one node, so their length is not limited by
    // the nesting depth and evaluating them needs no deep recursion.
    void acceptsLongChains()
    {
        QByteArray predicate = "subsystem == \"a\"";
        for (int i = 0; i < 5000; ++i) {
            predicate += " || subsystem == \"a\"";
        }
        predicate += " || subsystem == \"trovix\"";
        QString error;
        const auto parsed = LogPredicate::parse(predicate, &error);
        QVERIFY2(parsed, qPrintable(error));
        QVERIFY(parsed->matches(trovixEntry()));
        const QByteArray nested = QByteArray(100, '(') + "a == \"\"" + QByteArray(100, ')');
        const QByteArray allowed = QByteArray(99, '(') + "a == \"\"" + QByteArray(99, ')');
        QVERIFY(LogPredicate::parse(allowed, &error));
        QVERIFY(!LogPredicate::parse(nested, &error));
    }
};

TROVIX_TEST_GUILESS_MAIN(PredicateTest)
#include "predicate_test.moc"
