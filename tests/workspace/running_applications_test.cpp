#include "foundation/QXRunningApplication.h"
#include "platform/workspace/WindowPresence.h"
#include "platform/workspace/Workspace.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>
#include <cerrno>

using platform::MemoryWorkspace;
using platform::RunningApplication;
using Policy = platform::RunningApplication::ActivationPolicy;

// Naming, filtering and activating running applications on the memory
// workspace.
class RunningApplicationsTest : public QObject
{
    Q_OBJECT

private:
    MemoryWorkspace* m_workspace = nullptr;

private Q_SLOTS:
    void init()
    {
        auto workspace = std::make_unique<MemoryWorkspace>();
        m_workspace = workspace.get();
        platform::Workspace::setCurrent(std::move(workspace));
    }

    void cleanup() { platform::Workspace::setCurrent(nullptr); }

    void names_data()
    {
        QTest::addColumn<QString>("localizedName");
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("expected"); // empty: no name
        const auto row = [](const char* name, const char* localizedName, const char* executable,
                            const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(localizedName) << QString::fromUtf8(executable)
                                << QString::fromUtf8(expected);
        };
        row("localized name", "  Text Editor \n", "/usr/bin/gedit", "Text Editor");
        row("blank name uses the executable", " \t\n", "/opt/tools/Draw Pad.bin", "Draw Pad");
        row("executable without extension", "", "/usr/bin/xterm", "xterm");
        row("neither", "  ", "", "");
    }

    void names()
    {
        QFETCH(QString, localizedName);
        QFETCH(QString, executable);
        QFETCH(QString, expected);
        const RunningApplication application =
            m_workspace->addApplication(10, localizedName, executable);
        const std::optional<QString> name = QXExtensions::localizedNameOrBundleName(application);
        QCOMPARE(name.value_or(QString()), expected);
        QCOMPARE(name.has_value(), !expected.isEmpty());
        QVERIFY(!QXExtensions::localizedNameOrBundleName(RunningApplication()));
    }

    void namesAreAskedOnlyWhenNeeded()
    {
        m_workspace->addApplication(10, "Editor", QString());
        const RunningApplication lazy(10, QUrl(), Policy::Regular);
        QCOMPARE(lazy.localizedName(), QStringLiteral("Editor"));
    }

    void filters_data()
    {
        QTest::addColumn<int>("policy");
        QTest::addColumn<bool>("includeAccessory");
        QTest::addColumn<bool>("listed");
        QTest::newRow("regular") << int(Policy::Regular) << false << true;
        QTest::newRow("regular with accessories") << int(Policy::Regular) << true << true;
        QTest::newRow("accessory") << int(Policy::Accessory) << false << false;
        QTest::newRow("accessory included") << int(Policy::Accessory) << true << true;
        QTest::newRow("background") << int(Policy::Prohibited) << false << false;
        QTest::newRow("background never") << int(Policy::Prohibited) << true << false;
    }

    void filters()
    {
        QFETCH(int, policy);
        QFETCH(bool, includeAccessory);
        QFETCH(bool, listed);
        const RunningApplication application =
            m_workspace->addApplication(10, "App", QString(), Policy(policy));
        QCOMPARE(QXExtensions::isRegularOrAccessory(application, includeAccessory), listed);
    }

    // What the desktop shows of a process decides whether the all-applications
    // menu lists it without accessory applications: a Wayland client, which
    // has no managed window, is listed for its window on the accessibility
    // bus, while an X11 client is judged by its managed windows alone.
    void windowsDecideTheListing_data()
    {
        QTest::addColumn<bool>("managed");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<bool>("onBus");
        QTest::addColumn<bool>("busWindow");
        QTest::addColumn<int>("policy");
        QTest::newRow("X11 client with a normal window")
            << true << true << false << false << int(Policy::Regular);
        QTest::newRow("X11 client on the bus with a normal window")
            << true << true << true << true << int(Policy::Regular);
        QTest::newRow("X11 dock on the bus showing a window")
            << true << false << true << true << int(Policy::Accessory);
        QTest::newRow("X11 dock off the bus")
            << true << false << false << false << int(Policy::Prohibited);
        QTest::newRow("Wayland client showing a window")
            << false << false << true << true << int(Policy::Regular);
        QTest::newRow("Wayland client without a window")
            << false << false << true << false << int(Policy::Accessory);
        QTest::newRow("background process")
            << false << false << false << false << int(Policy::Prohibited);
    }

    void windowsDecideTheListing()
    {
        QFETCH(bool, managed);
        QFETCH(bool, normal);
        QFETCH(bool, onBus);
        QFETCH(bool, busWindow);
        QFETCH(int, policy);
        const platform::WindowPresence presence{managed, normal, onBus, busWindow};
        QCOMPARE(int(presence.activationPolicy()), policy);
        const RunningApplication application =
            m_workspace->addApplication(10, "App", QString(), presence.activationPolicy());
        QCOMPARE(QXExtensions::isRegularOrAccessory(application, false),
                 Policy(policy) == Policy::Regular);
    }

    void activationTakesTheProcessPathFirst_data()
    {
        QTest::addColumn<bool>("raiseAll");
        QTest::addColumn<bool>("reopen");
        QTest::addColumn<bool>("applicationFails");
        QTest::addColumn<bool>("processFails");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<bool>("answer");
        const QStringList fallback{"front 10 window", "application 10 window"};
        QTest::newRow("front window")
            << false << false << false << false << QStringList{"front 10 window"} << true;
        QTest::newRow("all windows")
            << true << false << false << false << QStringList{"front 10 all"} << true;
        QTest::newRow("fallback") << true << false << false << true
                                  << QStringList{"front 10 all", "application 10 all"} << true;
        QTest::newRow("fallback front window")
            << false << false << false << true << fallback << true;
        QTest::newRow("both fail") << false << false << true << true << fallback << false;
        QTest::newRow("reopen raises all windows")
            << false << true << false << false << QStringList{"front 10 all", "reopen 10"} << true;
        QTest::newRow("failed activation sends no reopen")
            << false << true << true << true << QStringList{"front 10 all", "application 10 all"}
            << false;
    }

    void activationTakesTheProcessPathFirst()
    {
        QFETCH(bool, raiseAll);
        QFETCH(bool, reopen);
        QFETCH(bool, applicationFails);
        QFETCH(bool, processFails);
        QFETCH(QStringList, requests);
        QFETCH(bool, answer);
        const RunningApplication application = m_workspace->addApplication(10, "App", QString());
        m_workspace->setProcessActivationFails(processFails);
        m_workspace->setApplicationActivationFails(applicationFails);
        QCOMPARE(reopen ? QXExtensions::activateByRaisingAllWindows(application, raiseAll, true)
                        : QXExtensions::activateByRaisingAllWindows(application, raiseAll),
                 answer);
        QCOMPARE(m_workspace->requests(), requests);
    }

    void reopenRestoresHiddenApplications()
    {
        const RunningApplication application = m_workspace->addApplication(10, "App", QString());
        m_workspace->setHidden(10, true);
        QVERIFY(application.isHidden());
        QVERIFY(QXExtensions::activateByRaisingAllWindows(application, false, true));
        QVERIFY(!application.isHidden());
    }

    void failedReopenIsLoggedAndStillAnswersYes()
    {
        LogCapture log;
        const RunningApplication application =
            m_workspace->addApplication(10, " Viewer ", QString());
        m_workspace->setReopenError(10, EIO);
        QVERIFY(QXExtensions::activateByRaisingAllWindows(application, true, true));
        QCOMPARE(log.lines(),
                 QStringList{QStringLiteral("[Tessaly] cannot reopen Viewer: %1").arg(EIO)});
    }

    void terminatedApplicationsLeaveTheList()
    {
        const RunningApplication first = m_workspace->addApplication(10, "A", QString());
        m_workspace->addApplication(11, "B", QString());
        m_workspace->setFrontmost(11);
        QCOMPARE(m_workspace->frontmostApplication().processIdentifier(), 11);
        QVERIFY(!first.isTerminated());
        m_workspace->setTerminated(10, true);
        QVERIFY(first.isTerminated());
        QCOMPARE(m_workspace->runningApplications().size(), 1);
        QVERIFY(m_workspace->runningApplication(10).isNull());
        QVERIFY(RunningApplication().isTerminated());
    }
};

TROVIX_TEST_GUILESS_MAIN(RunningApplicationsTest)
#include "running_applications_test.moc"
