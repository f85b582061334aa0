#include "platform/accessibility/atspi/AtspiMenuTree.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiCachedItemNode.h"
#include "platform/accessibility/atspi/AtspiCachedObjects.h"
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

class TreeBuilder
{
public:
    TreeBuilder(const QHash<QString, CachedObject>& objects, QString busName, qint64 pid,
                int maxItems, MenuTree& tree)
        : m_objects(objects), m_busName(std::move(busName)), m_pid(pid), m_maxItems(maxItems),
          m_tree(tree)
    {}

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
            const QString submenu = cachedSubmenuOf(child, m_objects);
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
    const QHash<QString, CachedObject>& m_objects;
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
    std::optional<QHash<QString, CachedObject>> objects = cachedObjectsFromReply(reply);
    if (!objects) {
        return std::nullopt;
    }
    MenuTree tree;
    TreeBuilder builder(*objects, busName, pid, maxItems, tree);
    const QString menuBar = cachedMenuBar(*objects);
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
