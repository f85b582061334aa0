#include "app/DumpMenuCommand.h"
#include "app/QXDefaultsRegistration.h"
#include "app/SearchCommand.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/CommandRun.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 Pid = 6262;

const QString BridgeMessage = QStringLiteral(
    "trovix: Painter (pid 6262) is a GTK 2 application started without its accessibility "
    "bridge; \"trovix show help troubleshooting\" says how to load it\n");

} // namespace

// A GTK 2 application started without its accessibility bridge publishes no
// menus: dump-menu and search say so, and where the help tells how to load
// the bridge, in place of the plain "not on the bus" or "no menu bar". Other
// applications keep the plain messages.
class MissingBridgeMessageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryDefaults> m_defaults;
    std::unique_ptr<QTemporaryDir> m_state;
    platform::MemoryAccessibility* m_accessibility = nullptr;

private Q_SLOTS:
    void init()
    {
        m_defaults = std::make_unique<TemporaryDefaults>();
        QXDefaultsRegistration::registerDefaults(m_defaults->defaults());
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", m_state->path().toUtf8());
        m_accessibility = new platform::MemoryAccessibility();
        auto* workspace = new platform::MemoryWorkspace();
        workspace->addApplication(Pid, QStringLiteral("Painter"),
                                  QStringLiteral("/usr/bin/painter"));
        platform::Accessibility::setCurrent(
            std::unique_ptr<platform::Accessibility>(m_accessibility));
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(workspace));
    }

    void cleanup()
    {
        platform::Workspace::setCurrent(nullptr);
        platform::Accessibility::setCurrent(nullptr);
        m_defaults.reset();
        m_state.reset();
    }

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
        if (onTheBus) {
            m_accessibility->addApplicationWithoutMenuBar(Pid, QStringLiteral("Painter"));
        }
        m_accessibility->setLacksAccessibilityBridge(Pid, withoutBridge);

        const CommandResult dump = runCommand(runDumpMenuCommand, {"--pid", QString::number(Pid)});
        QCOMPARE(dump.status, 1);
        QCOMPARE(dump.err, dumpMessage);
        const CommandResult search =
            runCommand(runSearchCommand, {"--pid", QString::number(Pid), "open"});
        QCOMPARE(search.status, 1);
        QCOMPARE(search.err, searchMessage);
    }
};

TROVIX_TEST_MAIN(MissingBridgeMessageTest)
#include "missing_bridge_message_test.moc"
