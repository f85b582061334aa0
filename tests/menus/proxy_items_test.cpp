// How one foreign menu item becomes a proxy item, and how proxy submenus are
// filled and pressed.

#include "PopUpTestEnvironment.h"
#include "platform/input/ModifierFlags.h"
#include "platform/log/SystemLog.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::AccessibilityElement;
using platform::Menu;
using platform::MenuItem;
namespace Flag = platform::ModifierFlag;

namespace {

// The item built for element at the top level of a pop-up (tag 2: neither
// the system nor the application menu).
MenuItem* addTopLevel(Menu& menu, const std::shared_ptr<platform::MemoryElement>& element,
                      const QXProxyMenuItem::FastTrack& fastTrack = {})
{
    QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(element), menu, 2, false,
                                              fastTrack);
    return menu.lastItem();
}

// The submenu of the top-level item opened once, as the presenter does.
Menu& opened(MenuItem* item)
{
    item->submenu()->update();
    return *item->submenu();
}

} // namespace

class ProxyItemsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyEquivalentAndMask_data()
    {
        QTest::addColumn<QVariant>("character");
        QTest::addColumn<QVariant>("virtualKey");
        QTest::addColumn<QVariant>("modifiers");
        QTest::addColumn<QString>("key");
        QTest::addColumn<quint64>("mask");
        const QVariant none;
        QTest::newRow("no modifiers: lower case, Command")
            << QVariant("S") << none << QVariant(0) << "s" << Flag::Command;
        QTest::newRow("Shift keeps the capital")
            << QVariant("S") << none << QVariant(1) << "S" << (Flag::Shift | Flag::Command);
        QTest::newRow("no Command") << QVariant("S") << none << QVariant(8) << "s" << quint64(0);
        QTest::newRow("Control and Option") << QVariant("x") << none << QVariant(6) << "x"
                                            << (Flag::Control | Flag::Option | Flag::Command);
        QTest::newRow("circled letter")
            << QVariant("f") << none << QVariant(16) << QString(QChar(0x24BB)) << Flag::Command;
        QTest::newRow("circled non-letter: nothing")
            << QVariant("1") << none << QVariant(16) << "" << quint64(0);
        QTest::newRow("modifiers unreadable: Command")
            << QVariant("q") << none << none << "q" << Flag::Command;
        QTest::newRow("virtual key F1")
            << none << QVariant(122) << QVariant(0) << "F1" << Flag::Command;
        QTest::newRow("virtual key with empty low bits")
            << none << QVariant(0x10000) << QVariant(0) << "" << Flag::Command;
    }

    void keyEquivalentAndMask()
    {
        QFETCH(QVariant, character);
        QFETCH(QVariant, virtualKey);
        QFETCH(QVariant, modifiers);
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        Menu menu;
        MenuItem* item = addTopLevel(
            menu, foreign.item("Item", {{QStringLiteral("AXMenuItemCmdChar"), character},
                                        {QStringLiteral("AXMenuItemCmdVirtualKey"), virtualKey},
                                        {QStringLiteral("AXMenuItemCmdModifiers"), modifiers}}));
        QTEST(item->keyEquivalent(), "key");
        QTEST(item->keyEquivalentModifierMask(), "mask");
    }

    void alternatesReplaceTheirPrimaries()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        // The primary has no position: it would be hidden if no alternate
        // followed it.
        auto close = foreign.item("Close", {{"AXMenuItemCmdChar", "W"},
                                            {"AXMenuItemCmdModifiers", 0},
                                            {"AXPosition", QVariant()}});
        auto closeAll =
            foreign.item("Close All", {{"AXMenuItemCmdChar", "W"}, {"AXMenuItemCmdModifiers", 2}});
        closeAll->setPrimary(close);
        auto file = foreign.menu("File", {close, closeAll});

        {
            Menu menu;
            Menu& submenu = opened(addTopLevel(menu, file));
            QCOMPARE(shownTitles(submenu), QStringList{"Close"});
            QCOMPARE(submenu.itemsShownWithModifiers(Flag::Option | Flag::Command).front()->title(),
                     QStringLiteral("Close All"));
        }
        {
            // A disabled primary is skipped: its alternate stands alone.
            close->setAttribute("AXEnabled", false);
            environment.settings().setBool(true, "Skip Disabled Menu Items");
            QXProxyMenuItem::updatePreferences();
            Menu menu;
            Menu& submenu = opened(addTopLevel(menu, file));
            QCOMPARE(shownTitles(submenu), QStringList{"Close All"});
        }
        {
            environment.settings().setBool(true, "Promote Alternates");
            environment.settings().setBool(false, "Skip Disabled Menu Items");
            QXProxyMenuItem::updatePreferences();
            Menu menu;
            Menu& submenu = opened(addTopLevel(menu, file));
            QCOMPARE(shownTitles(submenu), (QStringList{"Close", "Close All"}));
        }
    }

    void submenuFilledOnceWithSeparatorsCollapsed()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        auto edit = foreign.menu("Edit", {foreign.item({}), foreign.item("A"), foreign.item({}),
                                          foreign.item({}), foreign.item("B"), foreign.item({})});
        Menu menu;
        MenuItem* item = addTopLevel(menu, edit);
        QVERIFY(item->submenu()->isEmpty());
        QCOMPARE(foreign.state->requestsByAttribute.value("AXTitle"), 1);

        QCOMPARE(shownTitles(opened(item)), (QStringList{"A", "-", "B"}));
        const int requests = foreign.state->requests;
        QCOMPARE(shownTitles(opened(item)), (QStringList{"A", "-", "B"}));
        QCOMPARE(foreign.state->requests, requests);

        Menu other;
        MenuItem* separatorsOnly = addTopLevel(other, foreign.menu("Bare", {foreign.item({})}));
        MenuItem* empty = opened(separatorsOnly).itemAtIndex(0);
        QCOMPARE(empty->title(), QStringLiteral("Empty"));
        QVERIFY(!empty->isEnabled());
    }

    void fastTrackBuildsSubmenusAtOnce()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        auto tree = [&foreign] {
            return foreign.menu(QStringLiteral("Edit"),
                                {foreign.menu("Find", {foreign.item("Next")})});
        };
        Menu menu;
        MenuItem* all = addTopLevel(menu, tree(), QStringList());
        // Built now, and everything below it too.
        QCOMPARE(all->submenu()->itemAtIndex(0)->submenu()->itemAtIndex(0)->title(),
                 QStringLiteral("Next"));
        QVERIFY(!addTopLevel(menu, tree(), QStringList{"edit"})->submenu()->isEmpty());
        QVERIFY(addTopLevel(menu, tree(), QStringList{"view"})->submenu()->isEmpty());

        // A lazily filled submenu keeps its own submenus lazy.
        MenuItem* lazy = addTopLevel(menu, tree());
        QVERIFY(opened(lazy).itemAtIndex(0)->submenu()->isEmpty());
    }

    void hiddenDisabledAndMarkedItems()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        auto view =
            foreign.menu(QStringLiteral("View"),
                         {foreign.item("Hidden", {{"AXPosition", QVariant()}}),
                          foreign.item("Off", {{"AXEnabled", false}}),
                          foreign.menu("Closed", {foreign.item("X")}),
                          foreign.item("Checked", {{"AXMenuItemMarkChar", QStringLiteral("✓")}}),
                          foreign.item("Mixed", {{"AXMenuItemMarkChar", QStringLiteral("-")}}),
                          foreign.item("Text")});
        view->children().first()->children().at(2)->setAttribute("AXEnabled", false);
        environment.settings().setObject("text", "Blacklist");
        QXProxyMenuItem::updatePreferences();

        Menu menu;
        Menu& submenu = opened(addTopLevel(menu, view));
        // The blacklist names top-level menus only.
        QCOMPARE(shownTitles(submenu), (QStringList{"Off", "Closed", "Checked", "Mixed", "Text"}));
        QVERIFY(submenu.itemAtIndex(0)->isHidden());
        QVERIFY(!submenu.itemAtIndex(1)->isEnabled());
        QVERIFY(!submenu.itemAtIndex(2)->isEnabled());
        QVERIFY(!submenu.itemAtIndex(2)->hasSubmenu());
        QCOMPARE(submenu.itemAtIndex(3)->state(), MenuItem::State::On);
        QCOMPARE(submenu.itemAtIndex(4)->state(), MenuItem::State::Mixed);
        QVERIFY(menu.numberOfItems() == 1);
        addTopLevel(menu, foreign.menu("TEXT", {}));
        QCOMPARE(menu.numberOfItems(), 1);

        environment.settings().setBool(true, "Skip Disabled Menu Items");
        environment.settings().setBool(false, "Skip Hidden Menu Items");
        QXProxyMenuItem::updatePreferences();
        Menu other;
        QCOMPARE(shownTitles(opened(addTopLevel(other, view))),
                 (QStringList{"Hidden", "Checked", "Mixed", "Text"}));
    }

    void menuBarItemsPressOnlyWithoutSubmenu()
    {
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        Menu menu;
        // An ordinary menu only opens; one whose entries its application
        // publishes only while it is open has no submenu here and opens the
        // application's own menu; so does a disabled one never.
        MenuItem* file = addTopLevel(menu, foreign.menu("File", {foreign.item("Save")}));
        MenuItem* bookmarks = addTopLevel(menu, foreign.item("Bookmarks"));
        MenuItem* history = addTopLevel(menu, foreign.item("History", {{"AXEnabled", false}}));
        QVERIFY(!file->hasAction());
        QVERIFY(bookmarks->submenu() == nullptr);
        QVERIFY(bookmarks->performAction());
        QVERIFY(!history->performAction());
        QCOMPARE(foreign.state->pressed, QStringList{"Bookmarks"});

        // An application may refuse an item it showed enabled (one that
        // updates its states only when a menu opens): nothing else happens,
        // and the log says so.
        QStringList logged;
        platform::setSystemLogSink([&logged](const QString& line) { logged.append(line); });
        auto toolsElement = foreign.item("Tools");
        toolsElement->failAttribute("AXPress");
        MenuItem* tools = addTopLevel(menu, toolsElement);
        QVERIFY(tools->performAction());
        QTRY_COMPARE(logged,
                     QStringList{"the application refused to perform the menu item \"Tools\""});
        platform::setSystemLogSink({});
        QCOMPARE(foreign.state->pressed, QStringList{"Bookmarks"});
    }

    void pressingThroughApplicationItemsActivatesLater()
    {
        PopUpTestEnvironment environment;
        environment.workspace->addApplication(ForeignMenu::Pid, "Foreign",
                                              QStringLiteral("/usr/bin/foreign"));
        ForeignMenu foreign;
        auto file = foreign.menu("File", {foreign.item("Save")});

        // In the frontmost application's menu: pressed, nothing activated.
        Menu frontmost;
        MenuItem* save = opened(addTopLevel(frontmost, file)).itemAtIndex(0);
        QVERIFY(save->performAction());
        QCOMPARE(foreign.state->pressed, QStringList{"Save"});

        // Below an application item of the all-applications menu.
        Menu all;
        MenuItem* application = all.addItem("Foreign");
        application->setSubmenu(std::make_unique<Menu>("Foreign"));
        MenuItem* deep = opened(addTopLevel(*application->submenu(), file)).itemAtIndex(0);

        environment.settings().setInteger(-1, "Activation Delay");
        deep->performAction();
        environment.settings().setInteger(250, "Activation Delay");
        environment.workspace->setHidden(ForeignMenu::Pid, true);
        deep->performAction();
        QTest::qWait(400);
        QVERIFY(environment.workspace->requests().isEmpty());
        environment.workspace->setHidden(ForeignMenu::Pid, false);

        deep->performAction();
        QVERIFY(environment.workspace->requests().isEmpty());
        QTRY_COMPARE(environment.workspace->requests(), QStringList{"front 4242 window"});

        // 0 stands for a second.
        environment.settings().setInteger(0, "Activation Delay");
        environment.workspace->clearRequests();
        deep->performAction();
        QTest::qWait(500);
        QVERIFY(environment.workspace->requests().isEmpty());
        QTRY_COMPARE(environment.workspace->requests(), QStringList{"front 4242 window"});
    }
};

TROVIX_TEST_MAIN(ProxyItemsTest)
#include "proxy_items_test.moc"
