#include "app/DumpMenuCommand.h"
#include "app/QXDefaultsRegistration.h"
#include "app/SearchCommand.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/CommandRun.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 Pid = 5150;
constexpr qint64 PainterPid = 6262;

const QString BridgeMessage = QStringLiteral(
    "trovix: Painter (pid 6262) is a GTK 2 application started without its accessibility "
    "bridge; \"trovix show help troubleshooting\" says how to load it\n");
// A path as the command prints it.
QString shown(const QStringList& titles)
{
    return titles.join(QStringLiteral(" \u203a "));
}

using Result = CommandResult;

} // namespace

// trovix search against the fixtures' menu description in memory.
class SearchCommandTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryDefaults> m_defaults;
    std::unique_ptr<QTemporaryDir> m_state;
    platform::MemoryAccessibility* m_accessibility = nullptr;
    platform::MemoryWorkspace* m_workspace = nullptr;

    static Result run(const QStringList& arguments)
    {
        return runCommand(runSearchCommand, arguments);
    }

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        QXDefaultsRegistration::registerDefaults(m_defaults->defaults());
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_state->path().toUtf8());
        m_accessibility = new platform::MemoryAccessibility();
        m_workspace = new platform::MemoryWorkspace();
        platform::Accessibility::setCurrent(
            std::unique_ptr<platform::Accessibility>(m_accessibility));
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(m_workspace));
        QVERIFY(m_accessibility->addApplicationFromFile(
            Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") + "/tests/fixtures/menu.json"));
        m_workspace->addApplication(Pid, "Fixture", "/usr/bin/fixture");
        m_workspace->setFrontmost(Pid);
        m_workspace->setMenuBarOwner(Pid);
    }

    void cleanup()
    {
        platform::Workspace::setCurrent(nullptr);
        platform::Accessibility::setCurrent(nullptr);
        m_defaults.reset();
        m_state.reset();
    }

    // Without a session bus the menu commands say so; turning accessibility
    // on would not help. Accessibility that is merely off is told as before.
    void menuCommandsSayWhatIsMissing_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no session bus")
            << true
            << "trovix: The D-Bus session bus is missing. Start Trovix from a desktop session, "
               "which provides one.\n";
        QTest::newRow("accessibility off")
            << false
            << "trovix: accessibility is off; turn it on for the session and restart the "
               "application\n";
    }

    void menuCommandsSayWhatIsMissing()
    {
        QFETCH(bool, missing);
        QFETCH(QString, expected);
        m_accessibility->setTrusted(false);
        m_accessibility->setPromptGrantsTrust(false);
        if (missing) {
            m_accessibility->setUnavailability(
                {platform::AccessibilityUnavailability::Reason::Missing,
                 QStringLiteral("the D-Bus session bus"),
                 QStringLiteral("Start Trovix from a desktop session, which provides one.")});
        }
        const Result dump = runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid)});
        QCOMPARE(dump.status, 1);
        QCOMPARE(dump.err, expected);
        const Result search = run({"save"});
        QCOMPARE(search.status, 1);
        QCOMPARE(search.err, expected);
    }

    void printsTheBestMatchFirstWithItsKey_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("frontmost, deep item")
            << QStringList{"open", "rec", "alp"}
            << shown({"File", "Open Recent", "Projects", "Alpha\t⌃⌥1"});
        QTest::newRow("by pid, prefix")
            << QStringList{"--pid", "5150", "sav"} << shown({"File", "Save\t⌃S"});
        QTest::newRow("item without a key")
            << QStringList{"clear"} << shown({"File", "Open Recent", "Clear Menu"});
        QTest::newRow("all applications name the application")
            << QStringList{"--all", "undo"} << shown({"Fixture: Edit", "Undo\t⌃Z"});
    }

    void printsTheBestMatchFirstWithItsKey()
    {
        QFETCH(QStringList, arguments);
        const Result result = run(arguments);
        QCOMPARE(result.status, 0);
        QTEST(result.out.section(u'\n', 0, 0), "firstLine");
    }

    void jsonCarriesStateAndHowTheTreeWasRead()
    {
        const Result result = run({"--json", "show"});
        QCOMPARE(result.status, 0);
        const QJsonArray matches = QJsonDocument::fromJson(result.out.toUtf8()).array();
        QVERIFY(matches.size() >= 2);
        bool sawToolbar = false;
        for (const QJsonValue& value : matches) {
            const QJsonObject match = value.toObject();
            QCOMPARE(match.value("source").toString(), QStringLiteral("item-by-item"));
            QCOMPARE(match.value("pid").toInteger(), Pid);
            if (match.value("path").toArray().last().toString() == "Show Toolbar") {
                sawToolbar = true;
                QCOMPARE(match.value("mark").toString(), QStringLiteral("\u2713"));
                QVERIFY(match.value("enabled").toBool());
            }
        }
        QVERIFY(sawToolbar);
    }

    // Pressing presses the best enabled match and remembers it, so that it
    // ranks first next time among equals.
    void pressingRunsTheBestEnabledMatchAndRemembersIt()
    {
        QCOMPARE(run({"show"}).out.section(u'\n', 0, 0), shown({"View", "Show Toolbar"}));
        const Result pressed = run({"--press", "show side"});
        QCOMPARE(pressed.status, 0);
        QCOMPARE(pressed.out, shown({"pressed View", "Show Sidebar\n"}));
        QCOMPARE(m_accessibility->pressedItems(), QStringList{"View > Show Sidebar"});
        QCOMPARE(run({"show"}).out.section(u'\n', 0, 0), shown({"View", "Show Sidebar"}));

        // Export is the only match and it is disabled.
        const Result disabled = run({"--press", "export"});
        QCOMPARE(disabled.status, 1);
        QVERIFY(disabled.err.contains("disabled"));
        QCOMPARE(m_accessibility->pressedItems().size(), 1);
    }

    void anItemGoneBeforeThePressIsReported()
    {
        // The walk reads five attributes of an item; the press is the sixth
        // request, after the application has taken the item away (as one
        // that quits does).
        m_accessibility->vanishElement(m_accessibility->element(Pid, {"Edit", "Undo"}), 5);
        const Result result = run({"--pid", "5150", "--press", "undo"});
        QCOMPARE(result.status, 1);
        QCOMPARE(result.err, "trovix: " + shown({"Edit", "Undo"}) + " could not be pressed\n");
        QVERIFY(result.out.isEmpty());
        QVERIFY(m_accessibility->pressedItems().isEmpty());
    }

    void anApplicationThatStopsAnsweringCostsOneTimeout()
    {
        m_accessibility->setElementDelay(m_accessibility->element(Pid, {"View"}), 60.0);
        const quint64 before = m_accessibility->timedOutRequests();
        const Result result = run({"save"});
        QCOMPARE(result.status, 0);
        QVERIFY(result.err.contains("stopped answering"));
        QCOMPARE(result.out.section(u'\n', 0, 0), shown({"File", "Save\t⌃S"}));
        QCOMPARE(m_accessibility->timedOutRequests() - before, quint64(1));
    }

    // Clearing forgets what pressing remembered, says what it did, and
    // says so again, differently, when there was nothing to clear.
    void clearingTheHistoryForgetsPressedItems()
    {
        QVERIFY(run({"--press", "show side"}).status == 0);
        QCOMPARE(run({"show"}).out.section(u'\n', 0, 0), shown({"View", "Show Sidebar"}));
        const QString file = m_state->filePath("Trovix/search-history.json");
        QVERIFY(QFileInfo::exists(file));

        const Result cleared = run({"--clear-history"});
        QCOMPARE(cleared.status, 0);
        QCOMPARE(cleared.out, "removed the search history " + file + "\n");
        QVERIFY(cleared.err.isEmpty());
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(run({"show"}).out.section(u'\n', 0, 0), shown({"View", "Show Toolbar"}));

        const Result again = run({"--clear-history"});
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out, QStringLiteral("the search history is already empty\n"));
    }

    void aHistoryThatCannotBeRemovedIsAFailure()
    {
        const QString file = m_state->filePath("Trovix/search-history.json");
        QVERIFY(QDir().mkpath(file + "/inside"));
        const Result result = run({"--clear-history"});
        QCOMPARE(result.status, 1);
        QVERIFY(result.out.isEmpty());
        QVERIFY(result.err.contains(file));
    }

    void refusesBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("no query") << QStringList{} << 2;
        QTest::newRow("blank query") << QStringList{"  "} << 2;
        QTest::newRow("all and pid") << QStringList{"--all", "--pid", "5150", "x"} << 2;
        QTest::newRow("bad pid") << QStringList{"--pid", "-3", "x"} << 2;
        QTest::newRow("unknown option") << QStringList{"--fuzzy", "x"} << 2;
        QTest::newRow("no such process") << QStringList{"--pid", "77", "x"} << 1;
        QTest::newRow("nothing matches") << QStringList{"zzqx"} << 1;
        QTest::newRow("clearing with a query") << QStringList{"--clear-history", "x"} << 2;
        QTest::newRow("clearing with options") << QStringList{"--all", "--clear-history"} << 2;
    }

    void refusesBadInput()
    {
        QFETCH(QStringList, arguments);
        const Result result = run(arguments);
        QTEST(result.status, "status");
        QVERIFY(result.out.isEmpty());
        QVERIFY(!result.err.isEmpty());
    }

    // A GTK 2 application started without its accessibility bridge publishes
    // no menus: dump-menu and search say so, and where the help tells how to
    // load the bridge, in place of the plain "not on the bus" or "no menu
    // bar". Other applications keep the plain messages.
    void messagesNameTheMissingBridge_data()
    {
        QTest::addColumn<bool>("onTheBus");
        QTest::addColumn<bool>("withoutBridge");
        QTest::addColumn<QString>("dumpMessage");
        QTest::addColumn<QString>("searchMessage");
        QTest::newRow("gtk 2 off the bus") << false << true << BridgeMessage << BridgeMessage;
        QTest::newRow("gtk 2 on the bus without a menu bar")
            << true << true << BridgeMessage << BridgeMessage;
        QTest::newRow("other application off the bus")
            << false << false
            << QStringLiteral("trovix: Painter (pid 6262) is not on the accessibility bus\n")
            << QStringLiteral("trovix: Painter (pid 6262) has no menu bar that can be read\n");
        QTest::newRow("other application without a menu bar")
            << true << false << QStringLiteral("trovix: Painter (pid 6262) has no menu bar\n")
            << QStringLiteral("trovix: Painter (pid 6262) has no menu bar that can be read\n");
    }

    void messagesNameTheMissingBridge()
    {
        QFETCH(bool, onTheBus);
        QFETCH(bool, withoutBridge);
        QFETCH(QString, dumpMessage);
        QFETCH(QString, searchMessage);
        m_workspace->addApplication(PainterPid, QStringLiteral("Painter"),
                                    QStringLiteral("/usr/bin/painter"));
        if (onTheBus) {
            m_accessibility->addApplicationWithoutMenuBar(PainterPid, QStringLiteral("Painter"));
        }
        m_accessibility->setLacksAccessibilityBridge(PainterPid, withoutBridge);

        const CommandResult dump =
            runCommand(runDumpMenuCommand, {"--pid", QString::number(PainterPid)});
        QCOMPARE(dump.status, 1);
        QCOMPARE(dump.err, dumpMessage);
        const CommandResult search =
            runCommand(runSearchCommand, {"--pid", QString::number(PainterPid), "open"});
        QCOMPARE(search.status, 1);
        QCOMPARE(search.err, searchMessage);
    }
};

TROVIX_TEST_GUILESS_MAIN(SearchCommandTest)
#include "search_command_test.moc"
