#include "AppTestEnvironment.h"
#include "app/QXDefaultsRegistration.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "platform/menus/Menu.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace QXSettingsKeys;

// What happens between the start of the program and its first idle moment.
class LaunchTest : public QObject
{
    Q_OBJECT

private:
    QXMainController& controller() { return QXMainController::mainController(); }

    void launch()
    {
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
    }

private Q_SLOTS:
    void registersTheDefaultsAndWritesNothing()
    {
        AppTestEnvironment environment;
        controller().applicationWillFinishLaunching();
        platform::UserDefaults& settings = environment.settings();

        QCOMPARE(settings.integerForKey(ApplicationMode), 1);
        for (const QString& key :
             {EnableRightClickTrigger, ShowKeyEquivalents, SkipHiddenMenuItems, MoveAppleMenuToEnd,
              ApplicationMenuItemsReopen, ApplicationMenuItemsEmphasizeFrontmostApplication,
              SearchMenusWhileTyping}) {
            QVERIFY2(settings.boolForKey(key), qPrintable(key));
        }
        QCOMPARE(settings.stringForKey(FastTrack),
                 QStringLiteral("BBEdit > Text\nEagleFiler > Format"));
        QVERIFY(!settings.boolForKey(StealthMode));
        QVERIFY(!settings.objectForKey(MenuTrigger).isValid());

        settings.synchronize();
        QVERIFY(!QFile::exists(environment.defaults->filePath()));
        // Menu bar mode: no taskbar entry, and no activation asked for.
        QCOMPARE(environment.activation->activationPolicy(), platform::ActivationPolicy::Accessory);
        QTest::qWait(600);
        QCOMPARE(environment.activation->activations, 0);

        // Flat drawing is registered, on when unset, only when first asked for.
        QVERIFY(!settings.registeredDefaults().contains(FlatUserInterfaceDrawing));
        QVERIFY(QXDefaultsRegistration::flatUserInterfaceDrawing(settings));
        QVERIFY(settings.registeredDefaults().contains(FlatUserInterfaceDrawing));
        settings.setBool(false, FlatUserInterfaceDrawing);
        QVERIFY(!QXDefaultsRegistration::flatUserInterfaceDrawing(settings));
    }

    void storedModeChoosesThePolicy()
    {
        AppTestEnvironment environment;
        environment.settings().setInteger(0, ApplicationMode);
        controller().applicationWillFinishLaunching();
        QCOMPARE(environment.activation->activationPolicy(), platform::ActivationPolicy::Regular);

        environment.settings().setInteger(2, ApplicationMode);
        controller().applicationWillFinishLaunching();
        QCOMPARE(environment.activation->activationPolicy(), platform::ActivationPolicy::Accessory);
    }

    void preferencesWindowAtLaunch_data()
    {
        QTest::addColumn<bool>("stealthMode");
        QTest::addColumn<bool>("rightClick");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("windowShown");

        QTest::newRow("fresh account") << false << true << true << true;
        QTest::newRow("stealth with right click") << true << true << true << false;
        QTest::newRow("stealth without any trigger") << true << false << true << true;
        QTest::newRow("stealth without a tray") << true << true << false << true;
    }

    void preferencesWindowAtLaunch()
    {
        QFETCH(bool, stealthMode);
        QFETCH(bool, rightClick);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, windowShown);

        AppTestEnvironment environment;
        environment.statusBar->available = trayAvailable;
        environment.settings().setBool(stealthMode, StealthMode);
        environment.settings().setBool(rightClick, EnableRightClickTrigger);
        QSignalSpy shown(&controller(), &QXMainController::preferencesShown);

        launch();

        QCOMPARE(shown.count(), windowShown ? 1 : 0);
        QCOMPARE(controller().hasUsableTrigger(), rightClick);
        if (windowShown) {
            QCOMPARE(shown.first().first().toString(), QStringLiteral("Menu"));
            QVERIFY(controller().preferencesWindow()->isVisible());
            QCOMPARE(controller().preferencesWindow()->windowTitle(), QStringLiteral("Trovix"));
        }
    }

    void pendingSectionOpensAfterHalfASecondAndIsRemoved_data()
    {
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("opened");
        QTest::newRow("known") << QStringLiteral("Advanced") << QStringLiteral("Advanced");
        QTest::newRow("unknown falls back") << QStringLiteral("Nonsense") << QStringLiteral("Menu");
    }

    void pendingSectionOpensAfterHalfASecondAndIsRemoved()
    {
        QFETCH(QString, pending);
        QFETCH(QString, opened);
        AppTestEnvironment environment;
        environment.settings().setBool(true, StealthMode);
        environment.settings().setObject(pending, PreferencesSection);
        QSignalSpy shown(&controller(), &QXMainController::preferencesShown);

        launch();
        QTest::qWait(200);
        QCOMPARE(shown.count(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10000);
        QCOMPARE(shown.first().first().toString(), opened);
        QCOMPARE(controller().preferencesWindow()->selectedSection(), opened);
        QVERIFY(controller().preferencesWindow()->isVisible());
        QVERIFY(!environment.settings().objectForKey(PreferencesSection).isValid());
        QVERIFY(environment.activation->activations >= 1);
    }

    void statusItemAppearsOnTheNextTurnInMenuBarModeOnly_data()
    {
        QTest::addColumn<qint64>("mode");
        QTest::addColumn<bool>("statusItem");
        QTest::newRow("dock") << qint64(0) << false;
        QTest::newRow("menu bar") << qint64(1) << true;
        QTest::newRow("faceless") << qint64(2) << false;
        QTest::newRow("unknown") << qint64(7) << false;
    }

    void statusItemAppearsOnTheNextTurnInMenuBarModeOnly()
    {
        QFETCH(qint64, mode);
        QFETCH(bool, statusItem);
        AppTestEnvironment environment;
        environment.settings().setInteger(mode, ApplicationMode);
        environment.settings().setBool(true, StealthMode);

        launch();
        QCOMPARE(environment.statusBar->itemsMade, 0);
        QCoreApplication::processEvents();
        QTRY_COMPARE(environment.statusItem() != nullptr, statusItem);
        if (statusItem) {
            platform::MemoryStatusItem* item = environment.statusItem();
            QVERIFY(item->imageIsTemplate);
            QCOMPARE(item->image.deviceIndependentSize(), QSizeF(14, 17));
            QCOMPARE(item->autosaveName, QStringLiteral("com.quirkworks.Trovix.StatusItem"));
            QVERIFY(item->menu() != nullptr);
            QCOMPARE(item->menu()->title(), QStringLiteral("Trovix Status Item"));
            QVERIFY(item->menu()->isEmpty());
        }
        // Every status item refresh asks for accessibility, so that the
        // prompt comes before the first pop-up.
        QVERIFY(environment.accessibility->trustChecks() >= 1);
    }

    void reopen_data()
    {
        QTest::addColumn<bool>("accessory");
        QTest::addColumn<bool>("hasVisibleWindows");
        QTest::addColumn<bool>("showsPreferences");
        // Without a window on screen nothing else would show the program in
        // dock mode on a desktop without a taskbar.
        QTest::newRow("dock mode, no window") << false << false << true;
        QTest::newRow("dock mode, a window on screen") << false << true << false;
        QTest::newRow("tray or faceless, no window") << true << false << true;
        QTest::newRow("tray or faceless, a window on screen") << true << true << true;
    }

    void reopen()
    {
        QFETCH(bool, accessory);
        QFETCH(bool, hasVisibleWindows);
        QFETCH(bool, showsPreferences);
        AppTestEnvironment environment;
        environment.activation->setActivationPolicy(accessory
                                                        ? platform::ActivationPolicy::Accessory
                                                        : platform::ActivationPolicy::Regular);
        QSignalSpy shown(&controller(), &QXMainController::preferencesShown);
        QVERIFY(!controller().applicationShouldHandleReopen(hasVisibleWindows));
        QCOMPARE(shown.count(), showsPreferences ? 1 : 0);
        // Either way the program comes forward.
        QVERIFY(environment.activation->activations >= 1);
        if (showsPreferences) {
            QVERIFY(controller().preferencesWindow()->isVisible());
            controller().preferencesWindow()->close();
        }
    }

    void reopenRestoresAMinimisedPreferencesWindow()
    {
        AppTestEnvironment environment;
        environment.activation->setActivationPolicy(platform::ActivationPolicy::Regular);
        controller().showPreferencesTab(QString());
        controller().preferencesWindow()->showMinimized();
        QVERIFY(!controller().applicationShouldHandleReopen(false));
        QVERIFY(!controller().preferencesWindow()->isMinimized());
        controller().preferencesWindow()->close();
    }

    void laterShowingKeepsTheSectionLastShown()
    {
        AppTestEnvironment environment;
        environment.settings().setInteger(0, ApplicationMode);
        controller().showPreferencesTab(QStringLiteral("Updates"));
        // In dock mode the window is titled as preferences, not by the program's name.
        QCOMPARE(controller().preferencesWindow()->windowTitle(), QStringLiteral("Preferences"));
        controller().preferencesWindow()->close();
        controller().showPreferences();
        QCOMPARE(controller().preferencesWindow()->selectedSection(), QStringLiteral("Updates"));
    }
};

TROVIX_TEST_MAIN_WITH(LaunchTest, QXHotKeyHandlerApplication)

#include "launch_test.moc"
