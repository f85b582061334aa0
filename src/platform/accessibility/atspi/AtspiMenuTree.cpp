#include "platform/accessibility/atspi/AtspiMenuTree.h"

#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiCachedItemNode.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <atspi/atspi.h>

namespace platform::atspi {

namespace {

// Menus nest; a foreign tree that loops must still end.
constexpr int DepthLimit = 16;

// One object of the cache reply.
struct CachedObject
{
    QString parent;
    int index = 0;
    QString name;
    uint role = 0;
    quint32 states[2] = {0, 0};
    QList<QString> children;

    bool has(AtspiStateType state) const
    {
        const int bit = int(state);
        return bit < 64 && (states[bit / 32] & (1u << (bit % 32))) != 0;
    }
};

// "(so)": an object reference; only the path matters within one application.
QString readReference(const QDBusArgument& argument)
{
    // The path is read as a plain string: the bus has checked it already,
    // and checking it again costs a good share of reading the reply.
    QString service;
    QString path;
    argument.beginStructure();
    argument >> service >> path;
    argument.endStructure();
    return path;
}

// Reads the reply of either shape the call has had: with the children's
// references "a((so)(so)(so)a(so)assusau)" or with index and child count
// "a((so)(so)(so)iiassusau)".
QHash<QString, CachedObject> readObjects(const QDBusArgument& argument)
{
    QHash<QString, CachedObject> objects;
    argument.beginArray();
    while (!argument.atEnd()) {
        CachedObject object;
        argument.beginStructure();
        const QString path = readReference(argument);
        readReference(argument); // the application
        object.parent = readReference(argument);
        if (argument.currentType() == QDBusArgument::ArrayType) {
            argument.beginArray();
            while (!argument.atEnd()) {
                object.children.append(readReference(argument));
            }
            argument.endArray();
            object.index = -1;
        } else {
            int childCount = 0;
            argument >> object.index >> childCount;
        }
        QStringList interfaces;
        QString description;
        QList<uint> states;
        argument >> interfaces >> object.name >> object.role >> description;
        argument.beginArray();
        while (!argument.atEnd()) {
            uint word = 0;
            argument >> word;
            states.append(word);
        }
        argument.endArray();
        argument.endStructure();
        for (qsizetype i = 0; i < std::min<qsizetype>(states.size(), 2); ++i) {
            object.states[i] = states.at(i);
        }
        objects.insert(path, object);
    }
    argument.endArray();
    return objects;
}

// The number the toolkit gave an object in its path ("/org/a11y/atspi/
// accessible/42"): objects are numbered as they are first published, which
// for the entries of one menu is their order.
qint64 pathNumber(const QString& path)
{
    bool ok = false;
    const qint64 number = QStringView(path).mid(path.lastIndexOf(u'/') + 1).toLongLong(&ok);
    return ok ? number : -1;
}

// Orders the children of one object by their index in it. GTK gives plain
// menu items no index (-1); then the order they were published in stands
// in for it.
void sortChildren(QList<QString>& children, const QHash<QString, CachedObject>& objects)
{
    QSet<int> indexes;
    for (const QString& child : std::as_const(children)) {
        indexes.insert(objects.constFind(child)->index);
    }
    const bool indexed = !indexes.contains(-1) && indexes.size() == children.size();
    const auto key = [&objects, indexed](const QString& path) {
        return std::pair(indexed ? qint64(objects.constFind(path)->index) : pathNumber(path), path);
    };
    std::sort(children.begin(), children.end(),
              [&key](const QString& a, const QString& b) { return key(a) < key(b); });
}

class TreeBuilder
{
public:
    TreeBuilder(QHash<QString, CachedObject>& objects, QString busName, qint64 pid, int maxItems,
                MenuTree& tree)
        : m_objects(objects), m_busName(std::move(busName)), m_pid(pid), m_maxItems(maxItems),
          m_tree(tree)
    {}

    // The menu bar of the active window, or the first one found.
    QString menuBar() const
    {
        QString first;
        for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
            if (it->role != ATSPI_ROLE_MENU_BAR) {
                continue;
            }
            if (first.isEmpty() || it.key() < first) {
                first = it.key();
            }
            if (inActiveWindow(it.key())) {
                return it.key();
            }
        }
        return first;
    }

    void walk(const QString& parent, const QStringList& path, int depth)
    {
        for (const QString& childPath : m_objects.value(parent).children) {
            if (m_tree.items.size() >= m_maxItems) {
                return;
            }
            const auto found = m_objects.constFind(childPath);
            if (found == m_objects.cend()) {
                continue;
            }
            const CachedObject& child = *found;
            if (child.role == ATSPI_ROLE_SEPARATOR || child.role == ATSPI_ROLE_TEAROFF_MENU_ITEM) {
                continue;
            }
            const QString title = child.name.trimmed();
            if (title.isEmpty()) {
                continue;
            }
            if (child.role == ATSPI_ROLE_MENU) {
                // GTK: a submenu is an item of role menu, its entries below it.
                if (depth < DepthLimit) {
                    walk(childPath, path + QStringList{title}, depth + 1);
                }
                continue;
            }
            if (child.role != ATSPI_ROLE_MENU_ITEM && child.role != ATSPI_ROLE_CHECK_MENU_ITEM &&
                child.role != ATSPI_ROLE_RADIO_MENU_ITEM) {
                continue;
            }
            // Qt's shape: an item with one popup-menu child holding the entries.
            const QString submenu = submenuOf(child);
            if (!submenu.isEmpty()) {
                if (depth < DepthLimit) {
                    walk(submenu, path + QStringList{title}, depth + 1);
                }
                continue;
            }
            AtspiCachedItemNode::Snapshot snapshot;
            snapshot.title = title;
            snapshot.enabled = child.has(ATSPI_STATE_ENABLED) || child.has(ATSPI_STATE_SENSITIVE);
            snapshot.visible = child.has(ATSPI_STATE_VISIBLE);
            snapshot.checked = child.has(ATSPI_STATE_CHECKED);
            snapshot.indeterminate = child.has(ATSPI_STATE_INDETERMINATE);
            MenuTreeItem item;
            item.path = path + QStringList{title};
            item.enabled = snapshot.enabled;
            item.hidden = !snapshot.visible;
            item.element = AccessibilityElement(
                std::make_shared<AtspiCachedItemNode>(m_busName, childPath, m_pid, snapshot));
            item.mark = item.element.copyAttribute(QStringLiteral("AXMenuItemMarkChar"))
                            .value_or(QVariant())
                            .toString();
            m_tree.items.append(item);
        }
    }

private:
    QString submenuOf(const CachedObject& item) const
    {
        for (const QString& childPath : item.children) {
            const uint role = m_objects.value(childPath).role;
            if (role == ATSPI_ROLE_POPUP_MENU || role == ATSPI_ROLE_MENU) {
                return childPath;
            }
        }
        return QString();
    }

    bool inActiveWindow(QString path) const
    {
        for (int depth = 0; depth < 64 && m_objects.contains(path); ++depth) {
            const CachedObject& object = m_objects[path];
            if (object.has(ATSPI_STATE_ACTIVE) &&
                (object.role == ATSPI_ROLE_FRAME || object.role == ATSPI_ROLE_WINDOW ||
                 object.role == ATSPI_ROLE_DIALOG)) {
                return true;
            }
            path = object.parent;
        }
        return false;
    }

    QHash<QString, CachedObject>& m_objects;
    QString m_busName;
    qint64 m_pid;
    int m_maxItems;
    MenuTree& m_tree;
};

} // namespace

QDBusMessage cacheItemsCall(const QString& busName)
{
    return QDBusMessage::createMethodCall(busName, QStringLiteral("/org/a11y/atspi/cache"),
                                          QStringLiteral("org.a11y.atspi.Cache"),
                                          QStringLiteral("GetItems"));
}

bool isTimeoutReply(const QDBusMessage& reply)
{
    const QString error = reply.errorName();
    return reply.type() == QDBusMessage::ErrorMessage &&
           (error == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
            error == QStringLiteral("org.freedesktop.DBus.Error.Timeout"));
}

std::optional<MenuTree> menuTreeFromCacheReply(const QDBusMessage& reply, const QString& busName,
                                               qint64 pid, int maxItems)
{
    if (isTimeoutReply(reply)) {
        // Item by item would cost one timeout more per request.
        countTimedOutRequest();
        MenuTree tree;
        tree.source = MenuTree::Source::WholeTree;
        tree.complete = false;
        return tree;
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty() ||
        !reply.arguments().constFirst().canConvert<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
    const QString signature = argument.currentSignature();
    if (signature != QStringLiteral("a((so)(so)(so)iiassusau)") &&
        signature != QStringLiteral("a((so)(so)(so)a(so)assusau)")) {
        return std::nullopt;
    }
    QHash<QString, CachedObject> objects = readObjects(argument);
    // The older shape lists every object's children in order; the newer
    // one gives each object its index in its parent.
    const bool indexed = signature.contains(QStringLiteral(")ii"));
    if (indexed) {
        QList<QPair<QString, QString>> links;
        for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
            if (objects.contains(it->parent)) {
                links.append({it->parent, it.key()});
            }
        }
        for (const auto& [parent, child] : std::as_const(links)) {
            objects[parent].children.append(child);
        }
        for (CachedObject& object : objects) {
            sortChildren(object.children, objects);
        }
    }
    MenuTree tree;
    TreeBuilder builder(objects, busName, pid, maxItems, tree);
    const QString menuBar = builder.menuBar();
    if (menuBar.isEmpty()) {
        return std::nullopt;
    }
    tree.source = MenuTree::Source::WholeTree;
    builder.walk(menuBar, {}, 1);
    return tree;
}

std::optional<MenuTree> readMenuTreeFromCache(const QString& busName, qint64 pid, int maxItems)
{
    const std::optional<QDBusConnection> bus = accessibilityBusConnection();
    if (!bus || busName.isEmpty()) {
        return std::nullopt;
    }
    const QDBusMessage reply =
        bus->call(cacheItemsCall(busName), QDBus::Block, messagingTimeoutMs());
    return menuTreeFromCacheReply(reply, busName, pid, maxItems);
}

} // namespace platform::atspi
