// An application that stops answering while the pop-up reads it: a lazy
// submenu costs one messaging timeout at most and shows what was read before,
// and choosing an item never waits for the application.

#include "PopUpTestEnvironment.h"
#include "menus/QXAccessibility.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::AccessibilityElement;
using platform::MemoryElement;
using platform::Menu;
using platform::MenuItem;

namespace {

using Elements = QList<std::shared_ptr<MemoryElement>>;

// The foreign application stops answering from the element on: it and every
// element after it (with their subtrees) take longer than the timeout.
void stallFrom(const std::shared_ptr<MemoryElement>& element)
{
    element->setDelay(5.0);
    for (const auto& child : element->children()) {
        stallFrom(child);
    }
}

} // namespace

class StalledApplicationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void submenuStopsAtTheFirstTimeout_data()
    {
        // Items are titles, "-" for a separator, "Name>" for an item with a
        // one-item submenu. The application stops answering at the item of
        // index stallAt and stays so for every item after it; with
        // innerStall, only in that item's submenu and after it.
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("stallAt");
        QTest::addColumn<bool>("innerStall");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("timeouts");
        const QStringList items{"A", "-", "B", "C", "D"};
        QTest::newRow("answering throughout")
            << items << int(items.size()) << false << QStringList{"A", "-", "B", "C", "D"} << 0;
        QTest::newRow("stalls after three items")
            << items << 3 << false << QStringList{"A", "-", "B"} << 1;
        QTest::newRow("stalls after a separator") << items << 2 << false << QStringList{"A"} << 1;
        QTest::newRow("stalls at the first item")
            << items << 0 << false << QStringList{"Empty"} << 1;
        QTest::newRow("stalls inside an item's submenu: the item is left out")
            << QStringList{"A", "B>", "C"} << 1 << true << QStringList{"A"} << 1;
    }

    void submenuStopsAtTheFirstTimeout()
    {
        QFETCH(QStringList, items);
        QFETCH(int, stallAt);
        QFETCH(bool, innerStall);
        QFETCH(QStringList, shown);
        QFETCH(int, timeouts);
        PopUpTestEnvironment environment;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        foreign.state->messagingTimeout = 1.0f;
        Elements children;
        for (const QString& item : std::as_const(items)) {
            if (item == "-") {
                children.append(foreign.item({}));
            } else if (item.endsWith(u'>')) {
                children.append(foreign.menu(item.chopped(1), {foreign.item("Inner")}));
            } else {
                children.append(foreign.item(item));
            }
        }
        auto file = foreign.menu("File", children);
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(AccessibilityElement(file), menu, 2, false, {});

        for (qsizetype i = stallAt; i < children.size(); ++i) {
            // The stalling item itself answers when only its submenu stalls.
            stallFrom(innerStall && i == stallAt ? children.at(i)->children().first()
                                                 : children.at(i));
        }
        MenuItem* opener = menu.lastItem();
        opener->submenu()->update();
        QCOMPARE(shownTitles(*opener->submenu()), shown);
        QCOMPARE(foreign.state->timedOutRequests, quint64(timeouts));
        QCOMPARE(foreign.state->elapsed, double(timeouts));

        // Once the fill is over, reads ask the application again.
        QVERIFY(QXCopyAttribute(AccessibilityElement(file), QStringLiteral("AXTitle")));
    }

    void topLevelStopsAtTheFirstTimeout()
    {
        PopUpTestEnvironment environment;
        environment.addFixture(4242, "Trovix Fixture", "/usr/bin/fixture");
        environment.accessibility->systemWideElement().setMessagingTimeout(1.0f);
        // The application stops answering once its menu bar is listed,
        // from the Edit menu on.
        for (const char* title : {"Edit", "View", "Go", "Archive", "Help"}) {
            environment.accessibility->setElementDelay(
                environment.accessibility->element(4242, {QString::fromLatin1(title)}), 5.0);
        }
        const std::unique_ptr<Menu> menu = environment.popUp();
        QCOMPARE(shownTitles(*menu), (QStringList{"Fixture", "File", "-", "Window"}));
        QCOMPARE(environment.accessibility->timedOutRequests(), quint64(1));
        QCOMPARE(environment.accessibility->elapsedSeconds(), 1.0);
    }

    void choosingAnItemNeverWaits_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("logged");
        QTest::newRow("opens a modal dialog") << "dialog" << false;
        QTest::newRow("refused") << "refuse" << true;
    }

    void choosingAnItemNeverWaits()
    {
        QFETCH(QString, fault);
        QFETCH(bool, logged);
        PopUpTestEnvironment environment;
        LogCapture log;
        ForeignMenu foreign;
        foreign.state = environment.accessibility->sharedState();
        foreign.state->messagingTimeout = 1.0f;
        auto about = foreign.item("About");
        Menu menu;
        QXProxyMenuItem::addMenuItemWithUIElement(
            AccessibilityElement(foreign.menu("Help", {about})), menu, 2, false, {});
        MenuItem* opener = menu.lastItem();
        opener->submenu()->update();
        MenuItem* item = opener->submenu()->itemAtIndex(0);
        const double readTime = foreign.state->elapsed;

        if (fault == "dialog") {
            about->setDelay(30.0);
        } else if (fault == "refuse") {
            about->failAttribute(QStringLiteral("AXPress"));
        }
        QVERIFY(item->performAction());
        QCOMPARE(foreign.state->elapsed, readTime);
        QCOMPARE(foreign.state->pressed.contains("About"), !logged);
        if (logged) {
            QTRY_COMPARE(log.lines().size(), 1);
            QVERIFY(log.lines().first().contains("\"About\""));
        } else {
            // The answer is delivered by the next turn of the event loop.
            QCoreApplication::processEvents();
            QVERIFY(log.lines().isEmpty());
        }
    }
};

TROVIX_TEST_MAIN(StalledApplicationTest)
#include "stalled_application_test.moc"
