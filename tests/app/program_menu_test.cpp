#include "AppTestEnvironment.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "logreader/ILRIntegratedLogReader.h"
#include "platform/menus/Menu.h"
#include "support/TestProgram.h"

#include <QSpontaneKeyEvent>
#include <QTest>

using namespace QXSettingsKeys;
using State = platform::MenuItem::State;

// The program's own menu: in the tray, as a submenu of pop-ups, and alone.
class ProgramMenuTest : public QObject
{
    Q_OBJECT

private:
    QXMainController& controller() { return QXMainController::mainController(); }

    static QStringList titles(const platform::Menu& menu)
    {
        QStringList result;
        for (const auto& item : menu.items()) {
            result << (item->isSeparatorItem() ? QStringLiteral("---") : item->title());
        }
        return result;
    }

    // Delivers one event from the window system, as a click in the tray does.
    static void deliverSpontaneousEvent()
    {
        QObject receiver;
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&event);
        QCoreApplication::instance()->notify(&receiver, &event);
    }

private Q_SLOTS:
    void holdsTheEightEntriesInOrderAloneOrAsASubmenu()
    {
        AppTestEnvironment environment;
        platform::Menu menu;
        QCOMPARE(controller().populateContextMenu(menu), nullptr);

        QCOMPARE(
            titles(menu),
            (QStringList{QStringLiteral("About Trovix"), QStringLiteral("Check for Updates..."),
                         QStringLiteral("Help"), QStringLiteral("---"),
                         QStringLiteral("Preferences..."), QStringLiteral("<< Log >>"),
                         QStringLiteral("---"), QStringLiteral("Quit")}));
        for (const auto& item : menu.items()) {
            QVERIFY(item->keyEquivalent().isEmpty());
            QVERIFY(item->isSeparatorItem() || item->isEnabled());
        }
        const platform::MenuItem* log = menu.itemAtIndex(5);
        QVERIFY(log->isAlternate());
        QCOMPARE(log->keyEquivalentModifierMask(),
                 platform::ModifierFlags(platform::ModifierFlag::Option));
        QVERIFY(!menu.itemAtIndex(4)->isAlternate());
        // Holding Option shows the alternate in place of "Preferences...".
        const auto shown = menu.itemsShownWithModifiers(platform::ModifierFlag::Option);
        QVERIFY(std::find(shown.begin(), shown.end(), log) != shown.end());
        QVERIFY(std::find(shown.begin(), shown.end(), menu.itemAtIndex(4)) == shown.end());

        // With a title the entries go into a submenu added at the end.
        platform::MenuItem* item = controller().populateContextMenu(menu, QStringLiteral("Trovix"));
        QVERIFY(item != nullptr);
        QCOMPARE(menu.numberOfItems(), 9);
        QCOMPARE(menu.itemAtIndex(8), item);
        QCOMPARE(item->title(), QStringLiteral("Trovix"));
        QVERIFY(!item->hasAction());
        QCOMPARE(item->submenu()->title(), QStringLiteral("Trovix"));
        QCOMPARE(item->submenu()->numberOfItems(), 8);
    }

    void switchItemsShowTheirSettings()
    {
        AppTestEnvironment environment;
        // Without a log tool the item is the debug-logging switch itself.
        ILRIntegratedLogReader::setLogToolPath(QStringLiteral("/nonexistent/trovix-log"));
        platform::Menu menu;
        controller().populateContextMenu(menu);
        platform::MenuItem* log = menu.itemAtIndex(5);

        QVERIFY(controller().validateMenuItem(*log));
        QCOMPARE(log->title(), QStringLiteral("Enable Debug Logging"));
        QCOMPARE(log->state(), State::Off);

        QVERIFY(log->performAction());
        QVERIFY(environment.settings().boolForKey(DebugLog));
        menu.update();
        QCOMPARE(log->state(), State::On);

        log->performAction();
        QVERIFY(!environment.settings().boolForKey(DebugLog));

        // The window animation item is marked while animation is on.
        platform::MenuItem* item =
            menu.addItem(QStringLiteral("Animate"), QStringLiteral("toggleWindowAnimation:"),
                         [](platform::MenuItem&) {
                             QXMainController::mainController().toggleWindowAnimation();
                         });
        item->setTarget(&controller());
        menu.update();
        QCOMPARE(item->state(), State::On);
        item->performAction();
        QVERIFY(environment.settings().boolForKey(DisableSettingsWindowAnimation));
        menu.update();
        QCOMPARE(item->state(), State::Off);

        // With a tool and a readable journal the item opens the log window.
        ILRIntegratedLogReader::setLogToolPath(QStringLiteral("/bin/true"));
        ILRIntegratedLogReader::setSystemLogReadableForTesting(true);
        environment.settings().setBool(true, DebugLog);
        menu.update();
        QCOMPARE(log->title(), QStringLiteral("Log"));
        QCOMPARE(log->state(), State::Off);
        ILRIntegratedLogReader::setSystemLogReadableForTesting(false);
        menu.update();
        QCOMPARE(log->title(), QStringLiteral("Enable Debug Logging"));
        ILRIntegratedLogReader::setSystemLogReadableForTesting(std::nullopt);
        ILRIntegratedLogReader::setLogToolPath({});
    }

    void statusMenuIsRebuiltAtMostOncePerEvent()
    {
        AppTestEnvironment environment;
        controller().applicationWillFinishLaunching();
        controller().updateStatusItem();
        platform::Menu* menu = environment.statusItem()->menu();
        QVERIFY(menu != nullptr);

        deliverSpontaneousEvent();
        controller().menuNeedsUpdate(*menu);
        const platform::MenuItem* first = menu->itemAtIndex(0);
        controller().menuNeedsUpdate(*menu);
        QCOMPARE(menu->numberOfItems(), 8);
        QCOMPARE(menu->itemAtIndex(0), first);

        deliverSpontaneousEvent();
        controller().menuNeedsUpdate(*menu);
        QCOMPARE(menu->numberOfItems(), 8);
        QVERIFY(menu->itemAtIndex(0) != first);

        // Other menus are left alone.
        platform::Menu other;
        other.addItem(QStringLiteral("Keep"));
        controller().menuNeedsUpdate(other);
        QCOMPARE(other.numberOfItems(), 1);
        QVERIFY(!controller().menuHasKeyEquivalent(other, QStringLiteral("q"),
                                                   platform::ModifierFlag::Command));
    }
};

TROVIX_TEST_MAIN_WITH(ProgramMenuTest, QXHotKeyHandlerApplication)

#include "program_menu_test.moc"
