#include "app/DefaultsCommand.h"
#include "support/CommandRun.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

using Result = CommandResult;

Result run(const QStringList& arguments)
{
    return runCommand(runDefaultsCommand, arguments);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DefaultsCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writtenValuesReadBack_data()
    {
        QTest::addColumn<QStringList>("value");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QByteArray>("stored");

        QTest::newRow("-int") << QStringList{"-int", "14"} << "14"
                              << QByteArray("<integer>14</integer>");
        QTest::newRow("-bool YES") << QStringList{"-bool", "YES"} << "1" << QByteArray("<true/>");
        QTest::newRow("-bool false")
            << QStringList{"-bool", "false"} << "0" << QByteArray("<false/>");
        QTest::newRow("-float") << QStringList{"-float", "2.5"} << "2.5"
                                << QByteArray("<real>2.5</real>");
        QTest::newRow("-string number")
            << QStringList{"-string", "14"} << "14" << QByteArray("<string>14</string>");
        QTest::newRow("-string of a flag")
            << QStringList{"-string", "-int"} << "-int" << QByteArray("<string>-int</string>");
        QTest::newRow("untyped") << QStringList{"hello world"} << "hello world"
                                 << QByteArray("<string>hello world</string>");
        QTest::newRow("negative number untyped")
            << QStringList{"-5"} << "-5" << QByteArray("<string>-5</string>");
        QTest::newRow("-dict") << QStringList{"-dict",   "Key Code",       "-int",
                                              "49",      "Modifier Flags", "-int",
                                              "1310720", "Identifier",     "Menu Trigger"}
                               << "{\n    Identifier = \"Menu Trigger\";\n    \"Key Code\" = 49;\n"
                                  "    \"Modifier Flags\" = 1310720;\n}"
                               << QByteArray(
                                      "<key>Modifier Flags</key>\n\t\t<integer>1310720</integer>");
        QTest::newRow("empty -dict") << QStringList{"-dict"} << "{\n}" << QByteArray("<dict/>");
        QTest::newRow("-array") << QStringList{"-array", "a b", "-float", "0.5"}
                                << "(\n    \"a b\",\n    0.5\n)" << QByteArray("<real>0.5</real>");
    }
    void writtenValuesReadBack()
    {
        QFETCH(QStringList, value);
        QFETCH(QString, printed);
        QFETCH(QByteArray, stored);

        TemporaryDefaults temporary;
        const Result written = run(QStringList{"write", "Some Key"} + value);
        QCOMPARE(written.err, QString());
        QCOMPARE(written.status, 0);
        QVERIFY2(contentsOf(temporary.filePath()).contains(stored),
                 contentsOf(temporary.filePath()).constData());

        const Result read = run({"read", "Some Key"});
        QCOMPARE(read.status, 0);
        QCOMPARE(read.out, printed + u'\n');
    }

    void badInputChangesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        const QString missing =
            "The domain/default pair of (com.quirkworks.Trovix, Missing) does not exist";
        QTest::newRow("-int word") << QStringList{"write", "K", "-int", "abc"} << QString();
        QTest::newRow("-int fraction") << QStringList{"write", "K", "-int", "1.5"} << QString();
        QTest::newRow("-float word") << QStringList{"write", "K", "-float", "fast"} << QString();
        QTest::newRow("-bool maybe") << QStringList{"write", "K", "-bool", "maybe"} << QString();
        QTest::newRow("unknown flag") << QStringList{"write", "K", "-date", "now"} << QString();
        QTest::newRow("no value") << QStringList{"write", "K"} << QString();
        QTest::newRow("flag without value") << QStringList{"write", "K", "-int"} << QString();
        QTest::newRow("extra word") << QStringList{"write", "K", "a", "b"} << QString();
        QTest::newRow("odd -dict")
            << QStringList{"write", "K", "-dict", "a", "1", "b"} << QString();
        QTest::newRow("-dict bad number")
            << QStringList{"write", "K", "-dict", "a", "-int", "x"} << QString();
        QTest::newRow("nested -dict")
            << QStringList{"write", "K", "-dict", "a", "-dict", "b", "c"} << QString();
        QTest::newRow("read missing") << QStringList{"read", "Missing"} << missing;
        QTest::newRow("delete missing") << QStringList{"delete", "Missing"} << missing;
        QTest::newRow("-h") << QStringList{"-h"} << QString();
        QTest::newRow("unknown command") << QStringList{"frobnicate", "K"} << QString();
    }
    void badInputChangesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);

        TemporaryDefaults temporary;
        QCOMPARE(run({"write", "K", "-int", "5"}).status, 0);
        const QByteArray before = contentsOf(temporary.filePath());

        const Result result = run(arguments);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.out, QString());
        QVERIFY(result.err.endsWith(u'\n'));
        QCOMPARE(result.err.count(u'\n'), 1);
        if (!message.isEmpty()) {
            QCOMPARE(result.err, message + u'\n');
        }
        QCOMPARE(contentsOf(temporary.filePath()), before);
        QCOMPARE(temporary.defaults().integerForKey(QStringLiteral("K")), 5);
    }

    // Something that cannot be opened stands where the settings file should
    // be: every command says so and leaves it as it is.
    void anUnopenableSettingsFileIsLeftAlone_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("read") << QStringList{"read"};
        QTest::newRow("read key") << QStringList{"read", "K"};
        QTest::newRow("write") << QStringList{"write", "K", "-int", "5"};
        QTest::newRow("delete") << QStringList{"delete", "K"};
    }
    void anUnopenableSettingsFileIsLeftAlone()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("com.quirkworks.Trovix.plist"));
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        platform::UserDefaults::setStandard(std::make_unique<platform::UserDefaults>(path));

        const Result result = run(arguments);
        platform::UserDefaults::setStandard(nullptr);
        QCOMPARE(result.status, 1);
        QCOMPARE(result.out, QString());
        QVERIFY2(
            result.err.startsWith(
                QStringLiteral("trovix defaults: cannot open the settings file %1 (").arg(path)),
            qPrintable(result.err));
        QCOMPARE(result.err.count(u'\n'), 1);
        struct stat status = {};
        QVERIFY(::lstat(QFile::encodeName(path).constData(), &status) == 0);
        QVERIFY(S_ISFIFO(status.st_mode));
        QCOMPARE(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("com.quirkworks.Trovix.plist")});
    }

    void readsAndDeletesTheWholeDomain()
    {
        TemporaryDefaults temporary;
        const Result none = run({"read"});
        QCOMPARE(none.status, 1);
        QCOMPARE(none.err, QStringLiteral("Domain com.quirkworks.Trovix does not exist\n"));

        QCOMPARE(run({"write", "Stealth Mode", "-bool", "yes"}).status, 0);
        QCOMPARE(run({"write", "Blacklist", "Finder, Mail"}).status, 0);
        const Result all = run({"read"});
        QCOMPARE(all.status, 0);
        QCOMPARE(all.out, QStringLiteral("{\n    Blacklist = \"Finder, Mail\";\n"
                                         "    \"Stealth Mode\" = 1;\n}\n"));

        QCOMPARE(run({"delete", "Blacklist"}).status, 0);
        QVERIFY(!contentsOf(temporary.filePath()).contains("Blacklist"));
        QCOMPARE(run({"read", "Blacklist"}).status, 1);
        QCOMPARE(run({"read"}).out, QStringLiteral("{\n    \"Stealth Mode\" = 1;\n}\n"));
    }
};

TROVIX_TEST_GUILESS_MAIN(DefaultsCommandTest)
#include "defaults_command_test.moc"
