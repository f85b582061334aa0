#include "platform/accessibility/atspi/AtspiMenuSnapshot.h"
#include "platform/accessibility/atspi/AtspiMenuTree.h"
#include "support/TestProgram.h"

#include <QTest>
#include <atspi/atspi.h>
#include <dbus/dbus.h>

using platform::MenuTree;

namespace {

// One object of a whole-tree reply, in the shape that lists children.
struct Object
{
    int path;
    int parent;
    QList<int> children;
    QByteArray name;
    uint role;
    quint32 states = 0;
};

constexpr int Levels = 12;
constexpr quint32 Active = 1u << ATSPI_STATE_ACTIVE;
constexpr quint32 Shown = (1u << ATSPI_STATE_ENABLED) | (1u << ATSPI_STATE_VISIBLE);

QByteArray objectPath(int number)
{
    return "/org/a11y/atspi/accessible/" + QByteArray::number(number);
}

void appendReference(DBusMessageIter* into, int number)
{
    const QByteArray path = objectPath(number);
    const char* service = ":1.1";
    const char* pathText = path.constData();
    DBusMessageIter reference;
    dbus_message_iter_open_container(into, DBUS_TYPE_STRUCT, nullptr, &reference);
    dbus_message_iter_append_basic(&reference, DBUS_TYPE_STRING, &service);
    dbus_message_iter_append_basic(&reference, DBUS_TYPE_OBJECT_PATH, &pathText);
    dbus_message_iter_close_container(into, &reference);
}

std::optional<MenuTree> treeOf(const QList<Object>& objects)
{
    DBusMessage* reply = dbus_message_new(DBUS_MESSAGE_TYPE_METHOD_RETURN);
    DBusMessageIter top;
    DBusMessageIter array;
    dbus_message_iter_init_append(reply, &top);
    dbus_message_iter_open_container(&top, DBUS_TYPE_ARRAY, "((so)(so)(so)a(so)assusau)", &array);
    for (const Object& object : objects) {
        DBusMessageIter entry;
        dbus_message_iter_open_container(&array, DBUS_TYPE_STRUCT, nullptr, &entry);
        appendReference(&entry, object.path);
        appendReference(&entry, 0);
        appendReference(&entry, object.parent);
        DBusMessageIter children;
        dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "(so)", &children);
        for (const int child : object.children) {
            appendReference(&children, child);
        }
        dbus_message_iter_close_container(&entry, &children);
        DBusMessageIter interfaces;
        dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "s", &interfaces);
        dbus_message_iter_close_container(&entry, &interfaces);
        const char* name = object.name.constData();
        const char* description = "";
        const dbus_uint32_t role = object.role;
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &name);
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_UINT32, &role);
        dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &description);
        DBusMessageIter states;
        dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "u", &states);
        const dbus_uint32_t words[2] = {object.states, 0};
        for (const dbus_uint32_t word : words) {
            dbus_message_iter_append_basic(&states, DBUS_TYPE_UINT32, &word);
        }
        dbus_message_iter_close_container(&entry, &states);
        dbus_message_iter_close_container(&array, &entry);
    }
    dbus_message_iter_close_container(&top, &array);
    std::optional<MenuTree> tree =
        platform::atspi::menuTreeFromCacheReply(reply, QStringLiteral(":1.1"), 1, 50000);
    dbus_message_unref(reply);
    return tree;
}

QStringList paths(const MenuTree& tree)
{
    QStringList result;
    for (const platform::MenuTreeItem& item : tree.items) {
        result.append(item.path.join(QStringLiteral(" > ")));
    }
    return result;
}

} // namespace

// Whole-tree replies whose objects do not form a tree: another application
// may list one submenu many times or let menus list each other. Each
// object is read once, so such a reply neither repeats items nor costs a
// walk along every way to them.
class MenuTreeReplyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void objectsAreWalkedOnce_data()
    {
        QTest::addColumn<QList<Object>>("menus");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("a submenu listed three times")
            << QList<Object>{{3, 2, {4, 4, 4}, "File", ATSPI_ROLE_MENU, Shown},
                             {4, 3, {5}, "Recent", ATSPI_ROLE_MENU, Shown},
                             {5, 4, {}, "notes.txt", ATSPI_ROLE_MENU_ITEM, Shown}}
            << QStringList{"File > Recent > notes.txt"};

        QTest::newRow("menus that list each other")
            << QList<Object>{{3, 2, {4}, "File", ATSPI_ROLE_MENU, Shown},
                             {4, 3, {3, 5}, "Loop", ATSPI_ROLE_MENU, Shown},
                             {5, 4, {}, "Leaf", ATSPI_ROLE_MENU_ITEM, Shown}}
            << QStringList{"File > Loop > Leaf"};

        // Twelve levels, each listing the next twice: walked along every
        // way, the deepest leaf would repeat 2^11 times.
        QList<Object> doubled;
        for (int level = 0; level < Levels; ++level) {
            const int menu = 10 + level * 2;
            const int leaf = menu + 1;
            const QList<int> children =
                level + 1 < Levels ? QList<int>{menu + 2, menu + 2, leaf} : QList<int>{leaf};
            doubled.append({menu, level == 0 ? 2 : menu - 2, children,
                            "Level " + QByteArray::number(level), ATSPI_ROLE_MENU, Shown});
            doubled.append(
                {leaf, menu, {}, "Leaf " + QByteArray::number(level), ATSPI_ROLE_MENU_ITEM, Shown});
        }
        QTest::newRow("twelve levels of doubled submenus") << doubled << QStringList();
    }

    void objectsAreWalkedOnce()
    {
        QFETCH(QList<Object>, menus);
        QFETCH(QStringList, expected);
        QList<Object> objects{{1, 0, {2}, "Window", ATSPI_ROLE_FRAME, Active},
                              {2, 1, {menus.first().path}, "", ATSPI_ROLE_MENU_BAR, Shown}};
        objects += menus;
        const std::optional<MenuTree> tree = treeOf(objects);
        QVERIFY(tree);
        if (expected.isEmpty()) {
            // Every leaf exactly once.
            const QStringList read = paths(*tree);
            QCOMPARE(read.size(), Levels);
            QCOMPARE(QSet<QString>(read.cbegin(), read.cend()).size(), Levels);
        } else {
            QCOMPARE(paths(*tree), expected);
        }
    }

    // Which menu bar the tree is read from: the active window's, found
    // depth first in child order; the first VISIBLE one, else the first.
    void theVisibleMenuBarOfTheActiveWindowIsRead_data()
    {
        QTest::addColumn<QList<Object>>("objects");
        QTest::addColumn<QStringList>("expected");
        constexpr quint32 Enabled = 1u << ATSPI_STATE_ENABLED;
        // The bar on screen five levels down, as one office suite has it.
        const QList<Object> deepBar{{10, 1, {11}, "", ATSPI_ROLE_PANEL, Shown},
                                    {11, 10, {12}, "", ATSPI_ROLE_PANEL, Shown},
                                    {12, 11, {13}, "", ATSPI_ROLE_SCROLL_PANE, Shown},
                                    {13, 12, {14}, "", ATSPI_ROLE_VIEWPORT, Shown},
                                    {14, 13, {15}, "", ATSPI_ROLE_MENU_BAR, Shown},
                                    {15, 14, {16}, "File", ATSPI_ROLE_MENU, Shown},
                                    {16, 15, {}, "Open", ATSPI_ROLE_MENU_ITEM, Shown}};
        // A stale copy of the menus under a bar of its own (objects 2 to 4,
        // or from first on), its entries without VISIBLE.
        const auto staleBar = [](quint32 barStates, int first = 2) {
            return QList<Object>{
                {first, 1, {first + 1}, "", ATSPI_ROLE_MENU_BAR, barStates},
                {first + 1, first, {first + 2}, "File", ATSPI_ROLE_MENU, Shown},
                {first + 2, first + 1, {}, "Check Out", ATSPI_ROLE_MENU_ITEM, Enabled}};
        };
        // Several of them, so that a reader that takes any bar of the
        // window rarely happens upon the right one.
        QList<Object> staleCopies{
            {1, 0, {20, 30, 40, 50, 60, 70, 10}, "Window", ATSPI_ROLE_FRAME, Active}};
        for (int first = 20; first <= 70; first += 10) {
            staleCopies += staleBar(Enabled, first);
        }

        QTest::newRow("stale copies under bars without VISIBLE, first in the window")
            << staleCopies + deepBar << QStringList{"File > Open"};
        QTest::newRow("two VISIBLE bars: the first in child order")
            << QList<Object>{{1, 0, {10, 2}, "Window", ATSPI_ROLE_FRAME, Active}} + deepBar +
                   staleBar(Shown)
            << QStringList{"File > Open"};
        QTest::newRow("no bar VISIBLE: the first")
            << QList<Object>{{1, 0, {2}, "Window", ATSPI_ROLE_FRAME, Active}} + staleBar(Enabled)
            << QStringList{"File > Check Out"};
        QTest::newRow("the active window's bar, not an earlier window's")
            << QList<Object>{{1, 0, {2}, "Other", ATSPI_ROLE_FRAME, Shown},
                             {5, 0, {10}, "Window", ATSPI_ROLE_FRAME, Active | Shown}} +
                   staleBar(Shown) +
                   QList<Object>{{10, 5, {15}, "", ATSPI_ROLE_MENU_BAR, Shown},
                                 {15, 10, {16}, "File", ATSPI_ROLE_MENU, Shown},
                                 {16, 15, {}, "Open", ATSPI_ROLE_MENU_ITEM, Shown}}
            << QStringList{"File > Open"};
    }

    void theVisibleMenuBarOfTheActiveWindowIsRead()
    {
        QFETCH(QList<Object>, objects);
        const std::optional<MenuTree> tree = treeOf(objects);
        QVERIFY(tree);
        QTEST(paths(*tree), "expected");
    }

    // The menus are walked from a reply only when it holds every entry its
    // menus count: a toolkit may list only the objects it has made so far.
    void aSnapshotIsUsedOnlyWhenItsMenusAreWhole()
    {
        using platform::atspi::CachedObject;
        const auto object = [](int childCount, QList<QString> children) {
            CachedObject result;
            result.childCount = childCount;
            result.children = std::move(children);
            return result;
        };
        QHash<QString, CachedObject> objects{{"bar", object(1, {"file"})},
                                             {"file", object(2, {"new", "open"})},
                                             {"new", object(0, {})},
                                             {"open", object(0, {})}};
        QVERIFY(platform::atspi::isSnapshotComplete(objects, "bar"));
        // Menus that list each other end the walk all the same.
        objects["open"] = object(1, {"file"});
        QVERIFY(platform::atspi::isSnapshotComplete(objects, "bar"));
        objects["file"] = object(3, {"new", "open"});
        QVERIFY(!platform::atspi::isSnapshotComplete(objects, "bar"));
        objects["file"] = object(2, {"new", "gone"});
        QVERIFY(!platform::atspi::isSnapshotComplete(objects, "bar"));
        // The older shape counts nothing: what it lists must all be there.
        objects["file"] = object(-1, {"new", "open"});
        QVERIFY(platform::atspi::isSnapshotComplete(objects, "bar"));
        // A menu longer than is ever read is whole with its first entries.
        QList<QString> many;
        for (int i = 0; i < 2000; ++i) {
            many.append("new");
        }
        objects["file"] = object(20000, many);
        QVERIFY(platform::atspi::isSnapshotComplete(objects, "bar"));
    }
};

TROVIX_TEST_MAIN(MenuTreeReplyTest)
#include "menu_tree_reply_test.moc"
