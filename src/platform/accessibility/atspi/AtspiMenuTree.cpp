#include "platform/accessibility/atspi/AtspiMenuTree.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiCachedItemNode.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "platform/accessibility/atspi/MenuBarSearch.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <atspi/atspi.h>
#include <dbus/dbus.h>

namespace platform::atspi {

namespace {

// Menus nest; a foreign tree that loops must still end.
constexpr int DepthLimit = MenuWalkLimits::DepthLimit;
// The most objects read from one reply: far more than an application with
// the largest tree that is searched publishes in all (its windows and
// their contents included). A reply that lists more is cut.
constexpr qsizetype MaximumCachedObjects = qsizetype(MenuTree::MaximumSearchedItems) * 4;

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

// The reply is read with libdbus's own iterator: a GTK application's reply
// holds every object it publishes, and reading it value by value through
// QtDBus costs as much as the call itself.

QString takeString(DBusMessageIter* iterator)
{
    const char* text = nullptr;
    dbus_message_iter_get_basic(iterator, &text);
    dbus_message_iter_next(iterator);
    return QString::fromUtf8(text);
}

// "(so)": an object reference; only the path matters within one application.
QString takeReference(DBusMessageIter* iterator)
{
    DBusMessageIter reference;
    dbus_message_iter_recurse(iterator, &reference);
    dbus_message_iter_next(&reference);
    dbus_message_iter_next(iterator);
    return takeString(&reference);
}

template <typename T>
T takeBasic(DBusMessageIter* iterator)
{
    T value{};
    dbus_message_iter_get_basic(iterator, &value);
    dbus_message_iter_next(iterator);
    return value;
}

// Reads the reply of either shape the call has had: with the children's
// references "a((so)(so)(so)a(so)assusau)" or with index and child count
// "a((so)(so)(so)iiassusau)". The signature has been checked.
QHash<QString, CachedObject> readObjects(DBusMessage* reply, bool childrenListed)
{
    QHash<QString, CachedObject> objects;
    DBusMessageIter top;
    DBusMessageIter array;
    dbus_message_iter_init(reply, &top);
    dbus_message_iter_recurse(&top, &array);
    while (dbus_message_iter_get_arg_type(&array) == DBUS_TYPE_STRUCT &&
           objects.size() < MaximumCachedObjects) {
        CachedObject object;
        DBusMessageIter item;
        dbus_message_iter_recurse(&array, &item);
        const QString path = takeReference(&item);
        dbus_message_iter_next(&item); // the application
        object.parent = takeReference(&item);
        if (childrenListed) {
            DBusMessageIter children;
            dbus_message_iter_recurse(&item, &children);
            while (dbus_message_iter_get_arg_type(&children) == DBUS_TYPE_STRUCT &&
                   object.children.size() < accessibility::MaximumMenuChildren) {
                object.children.append(takeReference(&children));
            }
            dbus_message_iter_next(&item);
            object.index = -1;
        } else {
            object.index = takeBasic<dbus_int32_t>(&item);
            dbus_message_iter_next(&item); // the child count
        }
        dbus_message_iter_next(&item); // the interfaces
        const char* name = nullptr;
        dbus_message_iter_get_basic(&item, &name);
        dbus_message_iter_next(&item);
        object.name = itemTitle(name);
        object.role = takeBasic<dbus_uint32_t>(&item);
        dbus_message_iter_next(&item); // the description
        DBusMessageIter states;
        dbus_message_iter_recurse(&item, &states);
        for (int i = 0; i < 2 && dbus_message_iter_get_arg_type(&states) == DBUS_TYPE_UINT32; ++i) {
            object.states[i] = takeBasic<dbus_uint32_t>(&states);
        }
        objects.insert(path, object);
        dbus_message_iter_next(&array);
    }
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

    // The menu bar the item-by-item search finds: windows in their order,
    // the active one first; in each, depth first in child order down to the
    // same depth and through the same roles, the first menu bar that is
    // VISIBLE, else the first one. An application may list a stale copy of
    // its menus under a menu bar of its own.
    QString menuBar() const
    {
        QList<QString> windows;
        const auto root = m_objects.constFind(QStringLiteral("/org/a11y/atspi/accessible/root"));
        if (root != m_objects.cend()) {
            windows = root->children;
        } else {
            for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
                if (!m_objects.contains(it->parent)) {
                    windows.append(it.key());
                }
            }
            sortChildren(windows, m_objects);
        }
        std::stable_partition(windows.begin(), windows.end(), [this](const QString& window) {
            return m_objects.value(window).has(ATSPI_STATE_ACTIVE);
        });
        // Each object is searched once, however often a foreign tree lists it.
        QSet<QString> searched;
        for (const QString& window : std::as_const(windows)) {
            QString first;
            const QString bar = searchMenuBar(window, 0, first, searched);
            if (!bar.isEmpty()) {
                return bar;
            }
            if (!first.isEmpty()) {
                return first;
            }
        }
        return QString();
    }

    // Each object is walked once: a tree whose objects list each other (or
    // one submenu many times) would otherwise be walked again along every
    // way to it, which grows exponentially with the depth.
    void walk(const QString& parent, const QStringList& path, int depth)
    {
        m_seen.insert(parent);
        for (const QString& childPath : m_objects.value(parent).children) {
            if (m_tree.items.size() >= m_maxItems) {
                return;
            }
            if (m_seen.contains(childPath)) {
                continue;
            }
            m_seen.insert(childPath);
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
                if (depth < DepthLimit && !m_seen.contains(submenu)) {
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

    QString searchMenuBar(const QString& object, int depth, QString& first,
                          QSet<QString>& searched) const
    {
        if (searched.contains(object)) {
            return QString();
        }
        searched.insert(object);
        for (const QString& childPath : m_objects.value(object).children) {
            const auto child = m_objects.constFind(childPath);
            if (child == m_objects.cend()) {
                continue;
            }
            if (child->role == ATSPI_ROLE_MENU_BAR) {
                if (child->has(ATSPI_STATE_VISIBLE)) {
                    return childPath;
                }
                if (first.isEmpty()) {
                    first = childPath;
                }
                continue;
            }
            if (depth + 1 < MenuBarSearchDepth && mayHoldMenuBar(child->role)) {
                const QString bar = searchMenuBar(childPath, depth + 1, first, searched);
                if (!bar.isEmpty()) {
                    return bar;
                }
            }
        }
        return QString();
    }

    QHash<QString, CachedObject>& m_objects;
    QString m_busName;
    qint64 m_pid;
    int m_maxItems;
    MenuTree& m_tree;
    QSet<QString> m_seen;
};

} // namespace

bool isTimeoutReply(const QDBusMessage& reply)
{
    const QString error = reply.errorName();
    return reply.type() == QDBusMessage::ErrorMessage &&
           (error == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
            error == QStringLiteral("org.freedesktop.DBus.Error.Timeout"));
}

namespace {

DBusMessage* newCacheItemsCall(const QString& busName)
{
    return dbus_message_new_method_call(busName.toUtf8().constData(), "/org/a11y/atspi/cache",
                                        "org.a11y.atspi.Cache", "GetItems");
}

MenuTree timedOutTree()
{
    // Item by item would cost one timeout more per request.
    countTimedOutRequest();
    MenuTree tree;
    tree.source = MenuTree::Source::WholeTree;
    tree.complete = false;
    return tree;
}

// What an answered call means; reply is null when libdbus reported error.
std::optional<MenuTree> treeFromReply(DBusMessage* reply, const char* errorName,
                                      const QString& busName, qint64 pid, int maxItems)
{
    if (reply && dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR) {
        errorName = dbus_message_get_error_name(reply);
    }
    if (errorName) {
        if (qstrcmp(errorName, DBUS_ERROR_NO_REPLY) == 0 ||
            qstrcmp(errorName, DBUS_ERROR_TIMEOUT) == 0) {
            return timedOutTree();
        }
        return std::nullopt;
    }
    if (!reply || dbus_message_get_type(reply) != DBUS_MESSAGE_TYPE_METHOD_RETURN) {
        return std::nullopt;
    }
    const QByteArrayView signature(dbus_message_get_signature(reply));
    const bool childrenListed = signature == "a((so)(so)(so)a(so)assusau)";
    if (!childrenListed && signature != "a((so)(so)(so)iiassusau)") {
        return std::nullopt;
    }
    QHash<QString, CachedObject> objects = readObjects(reply, childrenListed);
    // The older shape lists every object's children in order; the newer
    // one gives each object its index in its parent.
    if (!childrenListed) {
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
            if (object.children.size() > accessibility::MaximumMenuChildren) {
                object.children.resize(accessibility::MaximumMenuChildren);
            }
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

// A call on its way; cancelled when destroyed before it was answered.
struct PendingCacheCall : std::enable_shared_from_this<PendingCacheCall>
{
    DBusPendingCall* pending = nullptr;
    QString busName;
    qint64 pid = 0;
    int maxItems = 0;
    std::function<void(std::optional<MenuTree>)> answered;

    ~PendingCacheCall()
    {
        if (pending) {
            dbus_pending_call_cancel(pending);
            dbus_pending_call_unref(pending);
        }
    }

    // libdbus calls this from its dispatch, which libatspi also runs from
    // within its own blocking requests: the reply is only taken here, and
    // read once control is back in the event loop, so that none of the
    // program's own work runs inside libdbus or libatspi.
    static void replied(DBusPendingCall* pending, void* data)
    {
        auto* call = static_cast<PendingCacheCall*>(data);
        const std::shared_ptr<DBusMessage> reply(dbus_pending_call_steal_reply(pending),
                                                 [](DBusMessage* message) {
                                                     if (message) {
                                                         dbus_message_unref(message);
                                                     }
                                                 });
        // libdbus keeps its own reference while it calls this.
        dbus_pending_call_unref(call->pending);
        call->pending = nullptr;
        QObject* const application = QCoreApplication::instance();
        if (!application) {
            call->read(reply.get());
            return;
        }
        // A call destroyed meanwhile was cancelled: its reply goes unread.
        QMetaObject::invokeMethod(
            application,
            [weak = call->weak_from_this(), reply] {
                if (const std::shared_ptr<PendingCacheCall> answeredCall = weak.lock()) {
                    answeredCall->read(reply.get());
                }
            },
            Qt::QueuedConnection);
    }

    void read(DBusMessage* reply)
    {
        const std::optional<MenuTree> tree = treeFromReply(reply, nullptr, busName, pid, maxItems);
        // The receiver may destroy the call.
        const auto receiver = std::move(answered);
        receiver(tree);
    }
};

} // namespace

std::optional<MenuTree> menuTreeFromCacheReply(DBusMessage* reply, const QString& busName,
                                               qint64 pid, int maxItems)
{
    return treeFromReply(reply, nullptr, busName, pid, maxItems);
}

std::optional<MenuTree> readMenuTreeFromCache(const QString& busName, qint64 pid, int maxItems)
{
    DBusConnection* bus = atspi_get_a11y_bus();
    if (!bus || busName.isEmpty()) {
        return std::nullopt;
    }
    DBusMessage* call = newCacheItemsCall(busName);
    if (!call) {
        return std::nullopt;
    }
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(bus, call, messagingTimeoutMs(), &error);
    dbus_message_unref(call);
    std::optional<MenuTree> tree = treeFromReply(
        reply, dbus_error_is_set(&error) ? error.name : nullptr, busName, pid, maxItems);
    dbus_error_free(&error);
    if (reply) {
        dbus_message_unref(reply);
    }
    return tree;
}

std::shared_ptr<void> sendCacheItemsCall(const QString& busName, qint64 pid, int maxItems,
                                         std::function<void(std::optional<MenuTree>)> answered)
{
    DBusConnection* bus = atspi_get_a11y_bus();
    if (!bus || busName.isEmpty()) {
        return nullptr;
    }
    DBusMessage* message = newCacheItemsCall(busName);
    if (!message) {
        return nullptr;
    }
    auto call = std::make_shared<PendingCacheCall>();
    call->busName = busName;
    call->pid = pid;
    call->maxItems = maxItems;
    call->answered = std::move(answered);
    const bool sent =
        dbus_connection_send_with_reply(bus, message, &call->pending, messagingTimeoutMs()) &&
        call->pending &&
        dbus_pending_call_set_notify(call->pending, PendingCacheCall::replied, call.get(), nullptr);
    dbus_message_unref(message);
    if (!sent) {
        return nullptr;
    }
    return call;
}

} // namespace platform::atspi
