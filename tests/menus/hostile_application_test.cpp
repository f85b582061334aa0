// An application that publishes menus meant to hurt the pop-up: trees that
// loop or nest without end, menus that claim a million entries, and answers
// that come just before the timeout. The pop-up ends, shows at most 2000
// entries per menu and stops reading an application once its reads took
// their deadline.

#include "PopUpTestEnvironment.h"
#include "menus/QXAccessibility.h"
#include "menus/QXSubmenuFill.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::AccessibilityElement;
using platform::MemoryElement;
using platform::Menu;
using platform::MenuItem;

namespace {

using Elements = QList<std::shared_ptr<MemoryElement>>;

// How many submenus deep the first item of each menu leads, counting those
// that hold more than the "Empty" placeholder.
int filledDepth(const Menu& menu)
{
    if (menu.isEmpty()) {
        return 0;
    }
    const MenuItem* first = menu.itemAtIndex(0);
    if (!first->submenu()) {
        return 0;
    }
    const Menu& submenu = *first->submenu();
    if (submenu.numberOfItems() == 1 && submenu.itemAtIndex(0)->title() == "Empty") {
        return 1;
    }
    return 1 + filledDepth(submenu);
}

} // namespace

class HostileApplicationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void submenusBuiltAtOnceEnd_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("depth");
        // The top-level menu is depth 1; what lies below the cap is an
        // empty submenu.
        QTest::newRow("a menu that lists its own item") << "self" << 0;
        QTest::newRow("a loop through two menus") << "pair" << 0;
        QTest::newRow("a chain 40 menus deep") << "chain" << 17;
    }

    void submenusBuiltAtOnceEnd()
    {
        QFETCH(QString, shape);
        QFETCH(int, depth);
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        std::shared_ptr<MemoryElement> top;
        if (shape == "chain") {
            top = foreign.item("Level 40");
            for (int level = 39; level >= 1; --level) {
                top = foreign.menu(QStringLiteral("Level %1").arg(level), {top});
            }
        } else {
            auto inner = foreign.menu("Again", {foreign.item("Leaf")});
            top = foreign.menu("Loop", {inner});
            // Loop's own item listed again in its menu, or in Again's.
            (shape == "self" ? top : inner)->children().first()->addLinkedChild(top);
        }
        Menu menu;
        // An empty fast-track list builds every submenu at once.
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(top), menu, 2, false,
                                                  QXProxyMenuItem::FastTrack(QStringList()));
        QCOMPARE(menu.numberOfItems(), 1);
        const Menu& loopMenu = *menu.itemAtIndex(0)->submenu();
        if (shape == "self") {
            QCOMPARE(shownTitles(loopMenu), (QStringList{"Again", "Loop"}));
            QCOMPARE(shownTitles(*loopMenu.itemAtIndex(1)->submenu()), QStringList{"Empty"});
        } else if (shape == "pair") {
            const Menu& againMenu = *loopMenu.itemAtIndex(0)->submenu();
            QCOMPARE(shownTitles(againMenu), (QStringList{"Leaf", "Loop"}));
            QCOMPARE(shownTitles(*againMenu.itemAtIndex(1)->submenu()), QStringList{"Empty"});
        } else {
            QCOMPARE(filledDepth(menu), depth);
        }
    }

    void aLoopOpenedByHandStopsAtTheCap()
    {
        // Lazily built submenus go as deep as the user opens them, but no
        // deeper than any other walk.
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        auto top = foreign.menu("Loop", {foreign.item("Leaf")});
        top->children().first()->addLinkedChild(top);
        // Each time the user opens Loop again within Loop.
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(top), menu, 2, false, {});
        Menu* current = menu.itemAtIndex(0)->submenu();
        int opened = 0;
        while (current && opened < 40) {
            current->update();
            ++opened;
            const MenuItem* last = current->lastItem();
            current = last && last->title() == "Loop" ? last->submenu() : nullptr;
        }
        QVERIFY2(opened <= platform::MenuWalkLimits::DepthLimit + 1,
                 qPrintable(QString::number(opened)));
    }

    void hugeMenusShowTheFirst2000_data()
    {
        QTest::addColumn<qint64>("claimed");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("last");
        QTest::newRow("just under") << qint64(1999) << 1999 << "Item 1999";
        QTest::newRow("exactly the cap") << qint64(2000) << 2000 << "Item 2000";
        QTest::newRow("one more") << qint64(2001) << 2001 << "1 more items not shown";
        QTest::newRow("a million") << qint64(1000000) << 2001 << "998000 more items not shown";
    }

    void hugeMenusShowTheFirst2000()
    {
        QFETCH(qint64, claimed);
        QFETCH(int, shown);
        QFETCH(QString, last);
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        auto huge = foreign.menu("Huge", {});
        huge->children().first()->setClaimedChildCount(claimed);
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(huge), menu, 2, false, {});
        Menu& submenu = *menu.itemAtIndex(0)->submenu();
        submenu.update();
        QCOMPARE(submenu.numberOfItems(), shown);
        QCOMPARE(submenu.lastItem()->title(), last);
        QCOMPARE(submenu.lastItem()->isEnabled(), claimed <= 2000);
    }

    void anOpenMenuShowsItsFirstScreenfulAtOnce()
    {
        // A menu of thousands of entries opens with a screenful read; the
        // rest is read from the event loop and appended while it is open,
        // up to the 2000 a menu shows.
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        auto huge = foreign.menu("Huge", {});
        huge->children().first()->setClaimedChildCount(5000);
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(huge), menu, 2, false, {});
        Menu& submenu = *menu.itemAtIndex(0)->submenu();
        int appended = 0;
        submenu.setItemsAppendedHandler([&appended] { ++appended; });
        environment.accessibility->resetCounters();
        submenu.update();
        QVERIFY2(submenu.numberOfItems() >= QXSubmenuFill::FirstScreenful &&
                     submenu.numberOfItems() < 200,
                 qPrintable(QString::number(submenu.numberOfItems())));
        QVERIFY2(environment.accessibility->requestCount() < 1000,
                 qPrintable(QString::number(environment.accessibility->requestCount())));
        QCOMPARE(appended, 0);
        QTRY_COMPARE_WITH_TIMEOUT(submenu.lastItem()->title(),
                                  QStringLiteral("3000 more items not shown"), 60000);
        QCOMPARE(submenu.numberOfItems(), 2001);
        QCOMPARE(submenu.itemAtIndex(1999)->title(), QStringLiteral("Item 2000"));
        QVERIFY(appended >= 1);
        // Opening it again reads nothing.
        environment.accessibility->resetCounters();
        submenu.update();
        QCOMPARE(environment.accessibility->requestCount(), 0);
        QCOMPARE(submenu.numberOfItems(), 2001);
    }

    void aMenuClosedWhileFillingIsLeftAlone()
    {
        // The runs still to come stop with the pop-up's items.
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        auto huge = foreign.menu("Huge", {});
        huge->children().first()->setClaimedChildCount(5000);
        auto menu = std::make_unique<Menu>();
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(huge), *menu, 2, false, {});
        Menu& submenu = *menu->itemAtIndex(0)->submenu();
        submenu.setItemsAppendedHandler([] {});
        submenu.update();
        menu.reset();
        environment.accessibility->resetCounters();
        QTest::qWait(50);
        QCOMPARE(environment.accessibility->requestCount(), 0);
    }

    void aSlowApplicationStopsAtItsDeadline()
    {
        // Every request is answered at 90 % of the timeout, so none times
        // out; the reads of the application stop once they took twice the
        // timeout, the menu keeps what was read, and the log says so once.
        PopUpTestEnvironment environment;
        LogCapture log;
        environment.settings().setObject(0.05, QStringLiteral("Accessibility API Timeout"));
        environment.accessibility->setSleepsForDelays(true);
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        foreign.state->messagingTimeout = 0.05f;
        Elements slowItems;
        for (int i = 1; i <= 30; ++i) {
            slowItems.append(foreign.item(QStringLiteral("Slow %1").arg(i)));
        }
        auto slow = foreign.menu("Slow", slowItems);
        ForeignMenu other;
        other.state = foreign.state;
        other.application->pid = ForeignMenu::Pid + 1;
        auto quick = other.menu("Quick", {other.item("One"), other.item("Two")});

        const QXAccessibilityStallGuard popUp(QXAccessibilityStallGuard::Deadlines::Own);
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(slow), menu, 2, false, {});
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(quick), menu, 3, false, {});
        foreign.application->delay = 0.045;
        environment.accessibility->resetCounters();
        menu.itemAtIndex(0)->submenu()->update();
        const int slowRequests = environment.accessibility->requestCount();
        // Reading all 30 items takes several requests each.
        QVERIFY2(slowRequests < 10, qPrintable(QString::number(slowRequests)));
        QCOMPARE(environment.accessibility->timedOutRequests(), quint64(0));
        const QStringList shown = shownTitles(*menu.itemAtIndex(0)->submenu());
        QVERIFY(!shown.contains("Slow 30"));
        QVERIFY(popUp.hasRunPastDeadline(ForeignMenu::Pid));
        QVERIFY(!popUp.hasRunPastDeadline(ForeignMenu::Pid + 1));
        QCOMPARE(log.lines().size(), 1);
        QVERIFY(log.lines().first().contains(QString::number(ForeignMenu::Pid)));

        // Another application of the same pop-up is still read in full.
        menu.itemAtIndex(1)->submenu()->update();
        QCOMPARE(shownTitles(*menu.itemAtIndex(1)->submenu()), (QStringList{"One", "Two"}));

        // Past its deadline, the slow application costs nothing more.
        environment.accessibility->resetCounters();
        QVERIFY(!QXCopyAttribute(AccessibilityElement(slow), QStringLiteral("AXTitle")));
        QCOMPARE(environment.accessibility->requestCount(), 0);
        QCOMPARE(log.lines().size(), 1);

        // The next pop-up (or list of search results) starts afresh.
        const QXAccessibilityStallGuard next(QXAccessibilityStallGuard::Deadlines::Own);
        QVERIFY(QXCopyAttribute(AccessibilityElement(slow), QStringLiteral("AXTitle")));
    }
};

TROVIX_TEST_MAIN(HostileApplicationTest)
#include "hostile_application_test.moc"
