#include "platform/accessibility/atspi/AtspiMenuSnapshot.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/AccessibilityReadBudget.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QDeadlineTimer>
#include <QSet>
#include <algorithm>
#include <dbus/dbus.h>
#include <tuple>

namespace platform::atspi {

bool isSnapshotComplete(const QHash<QString, CachedObject>& objects, const QString& menuBar)
{
    // Each object is looked at once, however often a foreign tree lists it,
    // and no deeper than menus are ever walked (Qt puts two levels between
    // a menu and its submenu's entries).
    QSet<QString> seen;
    QList<std::pair<QString, int>> pending{{menuBar, 0}};
    while (!pending.isEmpty()) {
        const auto [path, depth] = pending.takeLast();
        if (seen.contains(path) || depth > 2 * MenuWalkLimits::DepthLimit + 2) {
            continue;
        }
        seen.insert(path);
        const auto object = objects.constFind(path);
        if (object == objects.cend()) {
            return false;
        }
        const qsizetype listed = object->children.size();
        if (object->childCount >= 0 &&
            listed != std::min<qsizetype>(object->childCount, accessibility::MaximumMenuChildren)) {
            return false;
        }
        for (const QString& child : object->children) {
            pending.append({child, depth + 1});
        }
    }
    return true;
}

bool haveSameMenus(const MenuSnapshot& one, const MenuSnapshot& other)
{
    if (one.busName != other.busName || one.menuBar != other.menuBar ||
        one.objects.size() != other.objects.size() || one.keyBindings != other.keyBindings) {
        return false;
    }
    const auto shown = [](const CachedObject& object) {
        const ItemStates states = itemStates(object.stateBits());
        return std::tuple(states.enabled, states.visible, states.checked, states.indeterminate);
    };
    for (auto each = one.objects.cbegin(); each != one.objects.cend(); ++each) {
        const auto found = other.objects.constFind(each.key());
        if (found == other.objects.cend()) {
            return false;
        }
        const CachedObject& a = *each;
        const CachedObject& b = *found;
        if (a.parent != b.parent || a.role != b.role || a.name != b.name ||
            a.children != b.children || a.lacksComponent != b.lacksComponent ||
            shown(a) != shown(b)) {
            return false;
        }
    }
    return true;
}

MenuSnapshotRead readMenuSnapshot(const QString& busName, qint64 pid, bool gtk)
{
    MenuSnapshotRead result;
    DBusConnection* bus = atspi_get_a11y_bus();
    if (!bus || busName.isEmpty()) {
        return result;
    }
    DBusMessage* call = newCacheItemsCall(busName);
    if (!call) {
        return result;
    }
    const int timeoutMs = messagingTimeoutMs();
    const QDeadlineTimer deadline = AccessibilityReadBudget::bound(QDeadlineTimer(timeoutMs));
    const int waitMs = int(std::clamp<qint64>(deadline.remainingTime(), 1, timeoutMs));
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, waitMs, &error);
    dbus_message_unref(call);
    if (dbus_error_is_set(&error)) {
        result.timedOut = dbus_error_has_name(&error, DBUS_ERROR_NO_REPLY) ||
                          dbus_error_has_name(&error, DBUS_ERROR_TIMEOUT);
        // Cut short by the budget rather than by the timeout, the wait is
        // the budget's to count.
        if (result.timedOut && waitMs >= timeoutMs) {
            countTimedOutRequest();
        }
        dbus_error_free(&error);
    }
    if (!reply) {
        return result;
    }
    std::optional<QHash<QString, CachedObject>> objects;
    if (dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN) {
        objects = cachedObjectsFromReply(reply);
    }
    dbus_message_unref(reply);
    if (!objects) {
        return result;
    }
    const QString menuBar = cachedMenuBar(*objects);
    if (menuBar.isEmpty() || !isSnapshotComplete(*objects, menuBar)) {
        return result;
    }
    result.snapshot = std::make_shared<MenuSnapshot>();
    result.snapshot->busName = busName;
    result.snapshot->pid = pid;
    result.snapshot->gtk = gtk;
    result.snapshot->menuBar = menuBar;
    result.snapshot->objects = std::move(*objects);
    return result;
}

} // namespace platform::atspi
