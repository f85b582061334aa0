#include "AppTestEnvironment.h"
#include "app/QXActivationPolicy.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace QXSettingsKeys;
using platform::ActivationPolicy;

// Switching between dock, menu bar and faceless modes.
class ApplicationModeTest : public QObject
{
    Q_OBJECT

private:
    QXMainController& controller() { return QXMainController::mainController(); }

private Q_SLOTS:
    void statusItemWidth_data()
    {
        QTest::addColumn<qint64>("requested");
        QTest::addColumn<double>("width");
        QTest::newRow("unset") << qint64(0) << 14.0;
        QTest::newRow("narrower than the image") << qint64(10) << 14.0;
        QTest::newRow("wider") << qint64(50) << 50.0;
        QTest::newRow("at the cap") << qint64(100) << 100.0;
        QTest::newRow("beyond the cap") << qint64(500) << 100.0;
        QTest::newRow("negative") << qint64(-5) << 14.0;
    }

    void statusItemWidth()
    {
        QFETCH(qint64, requested);
        QFETCH(double, width);
        QCOMPARE(QXStatusItemController::statusItemWidth(14.0, requested), width);

        AppTestEnvironment environment;
        environment.settings().setInteger(requested, StatusItemWidth);
        controller().applicationWillFinishLaunching();
        controller().updateStatusItem();
        QCOMPARE(environment.statusItem()->length(), width);
    }

    void policyRoutine()
    {
        AppTestEnvironment environment;
        environment.activation->setActivationPolicy(ActivationPolicy::Regular);
        const int changesBefore = environment.activation->policyChanges;

        QVERIFY(QXSetActivationPolicy(false, true));
        QCOMPARE(environment.activation->policyChanges, changesBefore);

        QVERIFY(QXSetActivationPolicy(true, true));
        QCOMPARE(environment.activation->activationPolicy(), ActivationPolicy::Accessory);
        QCOMPARE(environment.activation->activations, 0);
        QTRY_COMPARE_WITH_TIMEOUT(environment.activation->activations, 1, 10000);

        QVERIFY(QXSetActivationPolicy(true, false));
        QTest::qWait(700);
        QCOMPARE(environment.activation->activations, 1);
    }

    void backgroundLaunchKeepsDockModeBehind()
    {
        AppTestEnvironment environment;
        environment.activation->setActivationPolicy(ActivationPolicy::Accessory);
        environment.settings().setBool(true, ApplicationModeDockBackgroundLaunch);
        QVERIFY(QXSetActivationPolicy(false, false));
        QTest::qWait(700);
        QCOMPARE(environment.activation->activations, 0);

        environment.activation->setActivationPolicy(ActivationPolicy::Accessory);
        environment.settings().setBool(false, ApplicationModeDockBackgroundLaunch);
        QVERIFY(QXSetActivationPolicy(false, false));
        QTRY_COMPARE_WITH_TIMEOUT(environment.activation->activations, 1, 10000);
    }

    // A background launch in dock mode opens no window, so Trovix has no
    // taskbar entry until asked; the window still opens when it is the only
    // way in, and outside dock mode the setting does nothing.
    void backgroundLaunchOpensNoWindow_data()
    {
        QTest::addColumn<qint64>("mode");
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("rightClick");
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("dock, background") << qint64(0) << true << true << false;
        QTest::newRow("dock, in front") << qint64(0) << false << true << true;
        QTest::newRow("dock, background, no trigger") << qint64(0) << true << false << true;
        QTest::newRow("menu bar, background") << qint64(1) << true << true << true;
    }

    void backgroundLaunchOpensNoWindow()
    {
        QFETCH(qint64, mode);
        QFETCH(bool, background);
        QFETCH(bool, rightClick);
        QFETCH(bool, windowShown);
        AppTestEnvironment environment;
        environment.settings().setInteger(mode, ApplicationMode);
        environment.settings().setBool(background, ApplicationModeDockBackgroundLaunch);
        environment.settings().setBool(rightClick, EnableRightClickTrigger);
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
        QCOMPARE(controller().preferencesWindow()->isVisible(), windowShown);
        if (!windowShown) {
            QTest::qWait(QXSelfActivationDelayMilliseconds + 200);
            QCOMPARE(environment.activation->activations, 0);
            QVERIFY(!controller().preferencesWindow()->isVisible());
        }
    }

    void refusedPolicyIsLoggedAndBeeped()
    {
        AppTestEnvironment environment;
        environment.activation->setActivationPolicy(ActivationPolicy::Regular);
        environment.activation->refusePolicyChanges = true;
        QVERIFY(!QXSetActivationPolicy(true, true));
        QCOMPARE(environment.log.lines(),
                 QStringList{QStringLiteral("cannot set activation policy: 1")});
        QCOMPARE(environment.activation->beeps, 1);

        // A refused mode change leaves the stored mode alone.
        environment.settings().setInteger(0, ApplicationMode);
        QVERIFY(!controller().changeApplicationMode(1));
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 0);
    }

    void leavingMenuBarModeRemovesTheStatusItemAndActivates()
    {
        AppTestEnvironment environment;
        controller().applicationWillFinishLaunching();
        controller().updateStatusItem();
        QVERIFY(environment.statusItem() != nullptr);

        // Faceless mode needs a trigger: without one it is refused.
        environment.settings().setBool(false, EnableRightClickTrigger);
        QVERIFY(!controller().changeApplicationMode(2));
        QCOMPARE(environment.alerts,
                 QStringList{QStringLiteral(
                     "No way to access menu|Enable the right click functionality or set a hot key "
                     "before you put Trovix in faceless mode.")});
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 1);
        QVERIFY(environment.statusItem() != nullptr);

        environment.alerts.clear();
        environment.settings().setBool(true, EnableRightClickTrigger);
        QVERIFY(controller().changeApplicationMode(2));
        QCOMPARE(environment.settings().integerForKey(ApplicationMode), 2);
        QVERIFY(environment.statusItem() == nullptr);
        QVERIFY(environment.alerts.isEmpty());
        QCOMPARE(environment.activation->activations, 1);

        QVERIFY(controller().changeApplicationMode(0));
        QCOMPARE(environment.activation->activationPolicy(), ActivationPolicy::Regular);
        QVERIFY(environment.statusItem() == nullptr);

        QVERIFY(controller().changeApplicationMode(1));
        QCOMPARE(environment.activation->activationPolicy(), ActivationPolicy::Accessory);
        QVERIFY(environment.statusItem() != nullptr);
    }
};

TROVIX_TEST_MAIN_WITH(ApplicationModeTest, QXHotKeyHandlerApplication)

#include "application_mode_test.moc"
