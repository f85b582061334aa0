// What an application publishes bounds nothing: titles and key binding texts
// are capped before they are converted, menus list at most 2000 children and
// say how many they left out, and every walk through a tree ends, however it
// loops or nests.

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "support/TestProgram.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace platform;
namespace ax = platform::accessibility;

namespace {

constexpr qint64 Pid = 4242;

// One menu "File" with a submenu "Loop" holding "Inner" (a submenu holding
// "Leaf") and an item "Plain".
QJsonObject loopingDescription()
{
    const QJsonObject inner{{"title", "Inner"},
                            {"items", QJsonArray{QJsonObject{{"title", "Leaf"}}}}};
    const QJsonObject loop{{"title", "Loop"}, {"items", QJsonArray{inner}}};
    return QJsonObject{
        {"name", "Looping"},
        {"menus",
         QJsonArray{QJsonObject{{"title", "File"},
                                {"items", QJsonArray{loop, QJsonObject{{"title", "Plain"}}}}}}}};
}

AccessibilityElement submenuOf(const AccessibilityElement& item)
{
    return accessibilityElementListFromVariant(
               item.copyAttribute(QString(ax::ChildrenAttribute)).value_or(QVariant()))
        .value(0);
}

} // namespace

class HostileShapesTest : public QObject
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

private Q_SLOTS:
    void cleanup() { Accessibility::setCurrent(nullptr); }

    void titlesAreTrimmedAndCapped_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << QByteArray("Open") << "Open";
        QTest::newRow("blanks around") << QByteArray("  Save As  ") << "Save As";
        QTest::newRow("empty") << QByteArray("") << "";
        QTest::newRow("at the cap") << QByteArray(atspi::MaximumTitleLength, 'a')
                                    << QString(atspi::MaximumTitleLength, u'a');
        QTest::newRow("a megabyte") << QByteArray(1 << 20, 'b')
                                    << QString(atspi::MaximumTitleLength - 1, u'b') + QChar(0x2026);
        // A character outside the basic plane is not split at the cut.
        QTest::newRow("cut before a surrogate pair")
            << QByteArray(atspi::MaximumTitleLength - 2, 'c') + QByteArray("\xF0\x9F\x98\x80xyz")
            << QString(atspi::MaximumTitleLength - 2, u'c') + QChar(0x2026);
    }

    void titlesAreTrimmedAndCapped()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, title);
        QCOMPARE(atspi::itemTitle(name.constData()), title);
        QVERIFY(atspi::itemTitle(nullptr).isEmpty());
    }

    void repliesBecomeCappedFacts()
    {
        QCOMPARE(atspi::childrenToRead(-5).read, 0);
        QCOMPARE(atspi::childrenToRead(12).read, 12);
        QCOMPARE(atspi::childrenToRead(12).omitted, qint64(0));
        QCOMPARE(atspi::childrenToRead(1000000).read, ax::MaximumMenuChildren);
        QCOMPARE(atspi::childrenToRead(1000000).omitted, qint64(1000000 - ax::MaximumMenuChildren));

        // A key binding text longer than any real one names no key.
        QVERIFY(atspi::itemKeyBinding(QStringLiteral("s;<Alt>f:s;<Primary>s"), {}));
        QVERIFY(!atspi::itemKeyBinding(QString(300, u'<'), {}));
        QVERIFY(!atspi::itemKeyBinding(QStringLiteral("Ctrl+") + QString(300, u'S'), {}));

        // Only the first few children of a Qt item are looked at.
        QList<std::optional<AtspiRole>> roles(20, ATSPI_ROLE_LABEL);
        roles[3] = ATSPI_ROLE_POPUP_MENU;
        QCOMPARE(atspi::submenuChildIndex(roles), 3);
        roles[3] = std::nullopt;
        roles[15] = ATSPI_ROLE_MENU;
        QCOMPARE(atspi::submenuChildIndex(roles), -1);

        const atspi::ItemStates none = atspi::itemStates(std::nullopt);
        QVERIFY(!none.valid);
        const atspi::ItemStates states = atspi::itemStates(atspi::stateBit(ATSPI_STATE_SENSITIVE) |
                                                           atspi::stateBit(ATSPI_STATE_CHECKED));
        QVERIFY(states.valid && states.enabled && states.checked && !states.visible);
    }

    void walkLimitsEndLoopsAndDepth()
    {
        MemoryAccessibility& accessibility = install();
        accessibility.addApplication(Pid, loopingDescription());
        const AccessibilityElement loop = submenuOf(accessibility.element(Pid, {"File", "Loop"}));
        const AccessibilityElement inner =
            submenuOf(accessibility.element(Pid, {"File", "Loop", "Inner"}));
        MenuWalkLimits limits;
        QVERIFY(limits.enter(loop, 1));
        // The same element, through a new handle: already walked.
        QVERIFY(!limits.enter(submenuOf(accessibility.element(Pid, {"File", "Loop"})), 2));
        QVERIFY(!limits.enter(inner, MenuWalkLimits::DepthLimit + 1));
        QVERIFY(limits.enter(inner, MenuWalkLimits::DepthLimit));
        QVERIFY(!limits.enter(AccessibilityElement(), 1));
        QCOMPARE(limits.menusWalked(), 2);
    }

    void memoryMenusListAtMost2000Children_data()
    {
        QTest::addColumn<qint64>("claimed");
        QTest::addColumn<int>("listed");
        QTest::addColumn<qint64>("omitted");
        QTest::newRow("fewer") << qint64(10) << 10 << qint64(0);
        QTest::newRow("the cap") << qint64(2000) << 2000 << qint64(0);
        QTest::newRow("a million") << qint64(1000000) << 2000 << qint64(998000);
    }

    void memoryMenusListAtMost2000Children()
    {
        QFETCH(qint64, claimed);
        QFETCH(int, listed);
        QFETCH(qint64, omitted);
        MemoryAccessibility& accessibility = install();
        accessibility.addApplication(Pid, loopingDescription());
        const AccessibilityElement menu = submenuOf(accessibility.element(Pid, {"File"}));
        accessibility.setClaimedChildCount(menu, claimed);
        const AccessibilityElementList children = accessibilityElementListFromVariant(
            menu.copyAttribute(QString(ax::ChildrenAttribute)).value_or(QVariant()));
        QCOMPARE(children.size(), listed);
        QCOMPARE(menu.copyAttribute(QString(ax::OmittedChildCountAttribute))->toLongLong(),
                 omitted);
        // The application's own entries come first.
        QCOMPARE(children.first().copyAttribute(QString(ax::TitleAttribute))->toString(),
                 QStringLiteral("Loop"));
    }

    void treeReadsEndInLoopingTrees()
    {
        MemoryAccessibility& accessibility = install();
        accessibility.addApplication(Pid, loopingDescription());
        // Inner's menu lists Loop's item again, and File's menu claims a
        // million entries.
        const AccessibilityElement loopItem = accessibility.element(Pid, {"File", "Loop"});
        accessibility.addChildElement(
            submenuOf(accessibility.element(Pid, {"File", "Loop", "Inner"})), loopItem);
        accessibility.addChildElement(submenuOf(loopItem), loopItem);
        accessibility.setClaimedChildCount(submenuOf(accessibility.element(Pid, {"File"})),
                                           1000000);
        const MenuTree tree = readMenuTreeItemByItem(accessibility.applicationElement(Pid),
                                                     MenuTree::MaximumSearchedItems);
        QStringList paths;
        for (const MenuTreeItem& item : tree.items) {
            paths.append(item.path.join(QStringLiteral(" > ")));
        }
        QCOMPARE(paths.first(), QStringLiteral("File > Loop > Inner > Leaf"));
        QCOMPARE(paths.at(1), QStringLiteral("File > Plain"));
        QCOMPARE(paths.size(), 2 + ax::MaximumMenuChildren - 2);
        QCOMPARE(paths.removeDuplicates(), 0);
    }
};

TROVIX_TEST_MAIN(HostileShapesTest)
#include "hostile_shapes_test.moc"
