#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuTreeCache.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

namespace {

constexpr qint64 Pid = 4242;

const MenuTreeItem* findItem(const MenuTree& tree, const QString& path)
{
    for (const MenuTreeItem& item : tree.items) {
        if (item.path.join(QStringLiteral(" > ")) == path) {
            return &item;
        }
    }
    return nullptr;
}

QJsonObject wideDescription(int menus, int itemsPerMenu)
{
    QJsonArray menuList;
    for (int m = 0; m < menus; ++m) {
        QJsonArray items;
        for (int i = 0; i < itemsPerMenu; ++i) {
            items.append(QJsonObject{{"title", QStringLiteral("Item %1.%2").arg(m).arg(i)}});
        }
        menuList.append(QJsonObject{{"title", QStringLiteral("Menu %1").arg(m)}, {"items", items}});
    }
    return QJsonObject{{"name", "Wide"}, {"menus", menuList}};
}

} // namespace

// The whole-tree read as the search sees it: every pressable item with its
// path and state, within bounds, ending early (with what it has) when the
// application stops answering.
class MenuTreeTest : public QObject
{
    Q_OBJECT

private:
    MemoryAccessibility& install()
    {
        auto accessibility = std::make_unique<MemoryAccessibility>();
        MemoryAccessibility& installed = *accessibility;
        Accessibility::setCurrent(std::move(accessibility));
        return installed;
    }

    MemoryAccessibility& installFixture()
    {
        MemoryAccessibility& accessibility = install();
        [&] {
            QVERIFY(accessibility.addApplicationFromFile(
                Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") + "/tests/fixtures/menu.json"));
        }();
        return accessibility;
    }

private Q_SLOTS:
    void cleanup() { Accessibility::setCurrent(nullptr); }

    void readsEveryPressableItemWithItsState_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("mark");
        const QString none;
        QTest::newRow("three submenus deep")
            << "File > Open Recent > Projects > Alpha" << true << true << false << none;
        QTest::newRow("disabled") << "File > Export" << true << false << false << none;
        QTest::newRow("hidden") << "File > Secret" << true << true << true << none;
        QTest::newRow("checked") << "View > Show Toolbar" << true << true << false
                                 << QStringLiteral("\u2713");
        QTest::newRow("mixed") << "View > Mixed Selection" << true << true << false << "-";
        QTest::newRow("unchecked") << "View > Show Sidebar" << true << true << false << none;
        // Items that open submenus, even empty ones, are not pressable.
        QTest::newRow("submenu") << "File > Open Recent" << false << false << false << none;
        QTest::newRow("empty submenu") << "File > Nothing Here" << false << false << false << none;
        // The window menu that the backends add at index 0 is not the
        // application's.
        QTest::newRow("window menu") << "Window > Close" << false << false << false << none;
    }

    void readsEveryPressableItemWithItsState()
    {
        QFETCH(QString, path);
        QFETCH(bool, present);
        installFixture();
        const MenuTree tree = Accessibility::current().menuTree(Pid, 1000);
        QCOMPARE(tree.source, MenuTree::Source::ItemByItem);
        QVERIFY(tree.complete);
        const MenuTreeItem* item = findItem(tree, path);
        QCOMPARE(item != nullptr, present);
        if (!item) {
            return;
        }
        QTEST(item->enabled, "enabled");
        QTEST(item->hidden, "hidden");
        QTEST(item->mark, "mark");
    }

    void pressingAnItemOfTheTreePressesThatItem()
    {
        MemoryAccessibility& accessibility = installFixture();
        const MenuTree tree = Accessibility::current().menuTree(Pid, 1000);
        const MenuTreeItem* alpha = findItem(tree, "File > Open Recent > Projects > Alpha");
        QVERIFY(alpha);
        QVERIFY(alpha->element.performAction(QStringLiteral("AXPress")));
        QCOMPARE(accessibility.pressedItems(),
                 QStringList{"File > Open Recent > Projects > Alpha"});
    }

    // An application that stops answering mid-read costs one timeout, and
    // what was read before it is kept.
    void stopsAtTheFirstTimedOutRequest()
    {
        MemoryAccessibility& accessibility = installFixture();
        accessibility.setElementDelay(accessibility.element(Pid, {"Edit", "Redo"}), 60.0);
        const quint64 timedOutBefore = accessibility.timedOutRequests();
        const MenuTree tree = Accessibility::current().menuTree(Pid, 1000);
        QVERIFY(!tree.complete);
        QCOMPARE(accessibility.timedOutRequests() - timedOutBefore, quint64(1));
        QVERIFY(findItem(tree, "Edit > Undo"));
        QVERIFY(findItem(tree, "File > Save"));
        QVERIFY(!findItem(tree, "Edit > Redo"));
        QVERIFY(!findItem(tree, "View > Show Toolbar"));
    }

    void anApplicationThatVanishesMidReadGivesWhatWasRead()
    {
        MemoryAccessibility& accessibility = installFixture();
        accessibility.vanishElement(accessibility.element(Pid, {"Edit"}), 1);
        const MenuTree tree = Accessibility::current().menuTree(Pid, 1000);
        QVERIFY(findItem(tree, "File > Save"));
        QVERIFY(!findItem(tree, "Edit > Select All"));
        QVERIFY(findItem(tree, "View > Show Toolbar"));
    }

    void unknownApplicationsAndCapsAreBounded()
    {
        MemoryAccessibility& accessibility = install();
        QCOMPARE(Accessibility::current().menuTree(999, 1000).source, MenuTree::Source::None);
        accessibility.addApplicationWithoutMenuBar(7, "Agent");
        const MenuTree agent = Accessibility::current().menuTree(7, 1000);
        QCOMPARE(agent.source, MenuTree::Source::None);
        QVERIFY(agent.items.isEmpty());

        accessibility.addApplication(Pid, wideDescription(20, 1000));
        const MenuTree whole = Accessibility::current().menuTree(Pid, 50000);
        QCOMPARE(whole.items.size(), 20000);
        QCOMPARE(whole.items.last().path, (QStringList{"Menu 19", "Item 19.999"}));
        QCOMPARE(Accessibility::current().menuTree(Pid, 500).items.size(), 500);
    }

    // A kept tree costs no request until the application's menus change or
    // it quits; trees cut short are never kept.
    void keptTreesLastUntilTheMenusChange()
    {
        MemoryAccessibility& accessibility = installFixture();
        MenuTreeCache cache;
        const qsizetype size = cache.tree(Pid, 1000).items.size();
        QVERIFY(cache.contains(Pid));
        const int requests = accessibility.requestCount();
        QCOMPARE(cache.tree(Pid, 1000).items.size(), size);
        QCOMPARE(cache.tree(Pid, 10).items.size(), 10);
        QCOMPARE(accessibility.requestCount(), requests);

        accessibility.notifyMenusChanged(Pid);
        QVERIFY(!cache.contains(Pid));
        QCOMPARE(cache.tree(Pid, 1000).items.size(), size);
        QVERIFY(accessibility.requestCount() > requests);

        accessibility.removeApplication(Pid);
        QVERIFY(!cache.contains(Pid));
        QCOMPARE(cache.tree(Pid, 1000).source, MenuTree::Source::None);
        QVERIFY(!cache.contains(Pid));

        accessibility.addApplicationFromFile(Pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                      "/tests/fixtures/menu.json");
        accessibility.setElementDelay(accessibility.element(Pid, {"View"}), 60.0);
        QVERIFY(!cache.tree(Pid, 1000).complete);
        QVERIFY(!cache.contains(Pid));
        cache.clear();
        QCOMPARE(accessibility.menuWatchCount(Pid), 0);
    }

    // Reads started through the cache deliver later, never from within
    // startRead; finished complete trees are kept like blocking ones, and
    // a change or the read's end before it finished keeps nothing.
    void readsStartedThroughTheCacheAreKeptWhenFinishedUnchanged()
    {
        MemoryAccessibility& accessibility = installFixture();
        MenuTreeCache cache;
        const qsizetype size = Accessibility::current().menuTree(Pid, 1000).items.size();

        std::unique_ptr<MenuTreeRead> read = cache.startRead(Pid, 1000);
        QVERIFY(!read->isFinished());
        QSignalSpy finished(read.get(), &MenuTreeRead::finished);
        QVERIFY(finished.wait());
        QCOMPARE(read->tree().items.size(), size);
        QVERIFY(cache.contains(Pid));
        const int requests = accessibility.requestCount();
        std::unique_ptr<MenuTreeRead> kept = cache.startRead(Pid, 1000);
        QVERIFY(kept->isFinished());
        QCOMPARE(kept->tree().items.size(), size);
        QCOMPARE(accessibility.requestCount(), requests);

        // Changed while it was read.
        accessibility.notifyMenusChanged(Pid);
        QVERIFY(!cache.contains(Pid));
        read = cache.startRead(Pid, 1000);
        accessibility.notifyMenusChanged(Pid);
        QSignalSpy changedFinished(read.get(), &MenuTreeRead::finished);
        QVERIFY(changedFinished.wait());
        QCOMPARE(read->tree().items.size(), size);
        QVERIFY(!cache.contains(Pid));

        // Given up before it finished: nothing kept, nothing watched.
        read = cache.startRead(Pid, 1000);
        read.reset();
        QTest::qWait(20);
        QVERIFY(!cache.contains(Pid));
        QCOMPARE(accessibility.menuWatchCount(Pid), 0);

        // Cut short by an application that stopped answering.
        accessibility.setElementDelay(accessibility.element(Pid, {"View"}), 60.0);
        read = cache.startRead(Pid, 1000);
        QSignalSpy stalledFinished(read.get(), &MenuTreeRead::finished);
        QVERIFY(stalledFinished.wait());
        QVERIFY(!read->tree().complete);
        QVERIFY(!cache.contains(Pid));
    }
};

TROVIX_TEST_GUILESS_MAIN(MenuTreeTest)
#include "menu_tree_test.moc"
