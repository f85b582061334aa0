#include "app/QXSettingsKeys.h"
#include "app/ShowCommand.h"
#include "help/QXHelpManager.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/logstore/JournalAccess.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QTest>
#include <QTextStream>

// `trovix show help [PAGE[#ANCHOR]]`: the command line it accepts, and what
// the running Trovix does with a page.
class ShowCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Never reach a Trovix that may run in the session of the machine.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/trovix-test-bus");
        platform::Activation::setCurrent(std::make_unique<platform::MemoryActivation>());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("usageError");
        QTest::newRow("help") << QStringList{"help"} << false;
        QTest::newRow("help page") << QStringList{"help", "Hot Keys#Recording"} << false;
        QTest::newRow("log") << QStringList{"log"} << false;
        QTest::newRow("page for another window") << QStringList{"log", "x"} << true;
        QTest::newRow("empty page") << QStringList{"help", ""} << true;
        QTest::newRow("huge page") << QStringList{"help", QString(5000, u'x')} << true;
        QTest::newRow("two pages") << QStringList{"help", "a", "b"} << true;
        QTest::newRow("nothing") << QStringList{} << true;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, usageError);
        QString outText;
        QString errText;
        QTextStream out(&outText);
        QTextStream err(&errText);
        const int status = runShowCommand(arguments, out, err);
        // Without a running Trovix a valid request fails to be delivered (1).
        QCOMPARE(status, usageError ? 2 : 1);
        QVERIFY(!errText.isEmpty());
    }

    // The bundle's help book has index.html: a page request opens it at the
    // anchor; an unknown page is refused without a window.
    void pageRequestOpensThePage()
    {
        TemporaryDefaults defaults;
        auto& activation =
            static_cast<platform::MemoryActivation&>(platform::Activation::current());
        const int beeps = activation.beeps;
        QXShowWindow(QStringLiteral("help:no-such-page"));
        QTRY_COMPARE(activation.beeps, beeps + 1);
        QVERIFY(!QXHelpManager::helpManager().window());

        QXShowWindow(QStringLiteral("help:index.html#top"));
        QTRY_COMPARE(QXHelpManager::helpManager().currentRelativePath(),
                     QStringLiteral("index.html"));
        QCOMPARE(QXHelpManager::helpManager().webView()->url().fragment(), QStringLiteral("top"));
    }

    // The command line hears whether the help book has the page it asked
    // for, also when the help book is still being read.
    void helpPageRequestAnswersWhetherThePageExists()
    {
        TemporaryDefaults defaults;
        std::optional<bool> unknown;
        std::optional<bool> known;
        QXShowHelpPage(QStringLiteral("no-such-page"),
                       [&unknown](bool exists) { unknown = exists; });
        QXShowHelpPage(QStringLiteral("index.html#top"), [&known](bool exists) { known = exists; });
        QTRY_VERIFY(unknown.has_value() && known.has_value());
        QVERIFY(!*unknown);
        QVERIFY(*known);
    }

    // Where the log cannot be read, the "Log" menu item is the debug-logging
    // switch; asking for the log window from the command line must not flip
    // that setting: the "Log Not Supported" alert says why, naming the group
    // whose members may read the journal.
    void logRequestWithoutReadableLogShowsTheAlert()
    {
        TemporaryDefaults defaults;
        ILRIntegratedLogReader::setLogToolPath(QStringLiteral("/bin/true"));
        ILRIntegratedLogReader::setSystemLogReadableForTesting(false);
        QStringList alerts;
        ILRIntegratedLogReader::setAlertPresenterForTesting(
            [&](const QString& message, const QString& text) { alerts << message << text; });
        const bool debugLog = defaults.defaults().boolForKey(QXSettingsKeys::DebugLog);
        QXShowWindow(QStringLiteral("log"));
        QCOMPARE(defaults.defaults().boolForKey(QXSettingsKeys::DebugLog), debugLog);
        QCOMPARE(alerts.size(), 2);
        QCOMPARE(alerts.at(0), QStringLiteral("Log Not Supported"));
        QVERIFY2(
            alerts.at(1).contains(u'\u201C' + platform::logstore::journalReaderGroup() + u'\u201D'),
            qPrintable(alerts.at(1)));
        QVERIFY(!ILRIntegratedLogReader::QXLogReader().window());
        ILRIntegratedLogReader::setAlertPresenterForTesting({});
        ILRIntegratedLogReader::setSystemLogReadableForTesting(std::nullopt);
        ILRIntegratedLogReader::setLogToolPath({});
    }
};

TROVIX_TEST_MAIN(ShowCommandTest)
#include "show_command_test.moc"
