// How menus hold, move and give up their items, and which items can be chosen.
#include "platform/menus/Menu.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/menus/MenuItemValidator.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::Menu;
using platform::MenuItem;

namespace {

QStringList titlesOf(const Menu& menu)
{
    QStringList titles;
    for (const auto& item : menu.items()) {
        titles.append(item->isSeparatorItem() ? QStringLiteral("-") : item->title());
    }
    return titles;
}

// Builds a menu from "A,-,B" (a dash is a separator).
void fillFrom(Menu& menu, const QString& layout)
{
    for (const QString& entry : layout.split(u',', Qt::SkipEmptyParts)) {
        if (entry == u"-") {
            menu.addSeparator();
        } else {
            menu.addItem(entry);
        }
    }
}

class RecordingDelegate : public platform::MenuDelegate, public platform::MenuItemValidator
{
public:
    void menuNeedsUpdate(Menu& menu) override
    {
        events.append(QStringLiteral("update"));
        menu.removeAllItems();
        menu.addItem(QStringLiteral("Fresh"), QStringLiteral("fresh:"), [](MenuItem&) {});
        menu.itemAtIndex(0)->setTarget(this);
    }
    bool validateMenuItem(MenuItem& item) override
    {
        events.append(QStringLiteral("validate ") + item.actionName());
        item.setTitle(QStringLiteral("Validated"));
        return false;
    }
    QStringList events;
};

} // namespace

class MenuStructureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addSeparatorIfNecessary_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("added");
        QTest::newRow("empty menu") << QString() << false;
        QTest::newRow("after an item") << QStringLiteral("A") << true;
        QTest::newRow("after a separator") << QStringLiteral("A,-") << false;
        QTest::newRow("after a leading separator") << QStringLiteral("-") << false;
    }
    void addSeparatorIfNecessary()
    {
        QFETCH(QString, layout);
        QFETCH(bool, added);
        Menu menu;
        fillFrom(menu, layout);
        const qsizetype before = menu.numberOfItems();
        MenuItem* separator = menu.addSeparatorIfNecessary();
        QCOMPARE(separator != nullptr, added);
        QCOMPARE(menu.numberOfItems(), before + (added ? 1 : 0));
        if (added) {
            QVERIFY(menu.lastItem()->isSeparatorItem());
        }
    }

    void insertAndRemoveKeepOrderAndOwnership()
    {
        Menu menu;
        fillFrom(menu, QStringLiteral("A,B"));
        menu.insertItem(MenuItem::create(QStringLiteral("first")), -5);
        menu.insertItem(MenuItem::create(QStringLiteral("last")), 99);
        menu.insertItem(MenuItem::create(QStringLiteral("middle")), 2);
        QCOMPARE(titlesOf(menu), QStringList({"first", "A", "middle", "B", "last"}));

        std::shared_ptr<MenuItem> removed = menu.removeItemAtIndex(1);
        QCOMPARE(removed->title(), QStringLiteral("A"));
        QCOMPARE(removed->menu(), nullptr);
        QCOMPARE(menu.indexOfItem(removed.get()), -1);
        QCOMPARE(menu.removeItem(removed.get()), nullptr);
        QCOMPARE(menu.removeItemAtIndex(42), nullptr);

        // An item added to a second menu leaves the first.
        Menu other;
        MenuItem* moved = other.addItem(menu.items().front());
        QCOMPARE(moved->menu(), &other);
        QCOMPARE(titlesOf(menu), QStringList({"middle", "B", "last"}));
    }

    void itemsKeptAsideOutliveTheirMenu()
    {
        std::shared_ptr<MenuItem> kept;
        {
            auto menu = std::make_unique<Menu>();
            fillFrom(*menu, QStringLiteral("A,B"));
            kept = menu->items().back();
        }
        QCOMPARE(kept->title(), QStringLiteral("B"));
        QCOMPARE(kept->menu(), nullptr);
        QCOMPARE(kept->parentItem(), nullptr);
    }

    void submenusKnowTheirParents()
    {
        Menu top(QStringLiteral("Top"));
        top.setFontPointSize(18);
        top.setAppearance(Menu::Appearance::Dark);
        MenuItem* file = top.addItem(QStringLiteral("File"));
        file->setSubmenu(std::make_unique<Menu>(QStringLiteral("File")));
        MenuItem* recent = file->submenu()->addItem(QStringLiteral("Recent"));
        recent->setSubmenu(std::make_unique<Menu>());
        MenuItem* leaf = recent->submenu()->addItem(QStringLiteral("doc.txt"));

        QCOMPARE(leaf->parentItem(), recent);
        QCOMPARE(recent->parentItem(), file);
        QCOMPARE(file->parentItem(), nullptr);
        QCOMPARE(recent->submenu()->supermenu(), file->submenu());
        QCOMPARE(file->submenu()->supermenu(), &top);

        // Font size and appearance reach every submenu unless one sets its own.
        QCOMPARE(recent->submenu()->effectiveFontPointSize(), 18);
        QCOMPARE(recent->submenu()->effectiveAppearance(), Menu::Appearance::Dark);
        file->submenu()->setFontPointSize(12);
        QCOMPARE(recent->submenu()->effectiveFontPointSize(), 12);

        // A submenu taken away no longer has a parent.
        std::unique_ptr<Menu> taken = recent->takeSubmenu();
        QCOMPARE(taken->parentItem(), nullptr);
        QCOMPARE(leaf->parentItem(), nullptr);
        QCOMPARE(taken->effectiveFontPointSize(), 0);
    }

    void enabledNeedsAnActionOrASubmenu_data()
    {
        QTest::addColumn<bool>("action");
        QTest::addColumn<bool>("submenu");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("plain title") << false << false << true << false;
        QTest::newRow("with action") << true << false << true << true;
        QTest::newRow("with submenu") << false << true << true << true;
        QTest::newRow("action, switched off") << true << false << false << false;
        QTest::newRow("submenu, switched off") << false << true << false << false;
    }
    void enabledNeedsAnActionOrASubmenu()
    {
        QFETCH(bool, action);
        QFETCH(bool, submenu);
        QFETCH(bool, flag);
        QFETCH(bool, enabled);
        int runs = 0;
        auto item = MenuItem::create(QStringLiteral("Item"));
        if (action) {
            item->setAction(QStringLiteral("run:"), [&runs](MenuItem&) { ++runs; });
        }
        if (submenu) {
            item->setSubmenu(std::make_unique<Menu>());
        }
        item->setEnabled(flag);
        QCOMPARE(item->isEnabled(), enabled);
        QCOMPARE(item->performAction(), enabled && action);
        QCOMPARE(runs, enabled && action ? 1 : 0);
        QVERIFY(!MenuItem::separatorItem()->isEnabled());
    }

    void actionMayRemoveItsOwnItem()
    {
        Menu menu;
        MenuItem* item = menu.addItem(QStringLiteral("Remove me"), QStringLiteral("remove:"),
                                      [&menu](MenuItem& self) {
                                          menu.removeAllItems();
                                          // Still alive here.
                                          self.setTitle(QStringLiteral("gone"));
                                      });
        QVERIFY(item->performAction());
        QVERIFY(menu.isEmpty());
    }

    void updateAsksTheDelegateThenTheTargets()
    {
        Menu menu;
        fillFrom(menu, QStringLiteral("Stale"));
        RecordingDelegate delegate;
        menu.setDelegate(&delegate);
        menu.update();
        QCOMPARE(delegate.events, QStringList({"update", "validate fresh:"}));
        QCOMPARE(titlesOf(menu), QStringList({"Validated"}));
        QVERIFY(!menu.itemAtIndex(0)->isEnabled());
    }
};

TROVIX_TEST_GUILESS_MAIN(MenuStructureTest)
#include "menu_structure_test.moc"
