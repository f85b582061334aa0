#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <atspi/atspi.h>
#include <optional>

struct DBusMessage;

namespace platform::atspi {

// One object of an application's org.a11y.atspi.Cache.GetItems reply.
struct CachedObject
{
    QString parent;
    // Its index in its parent; -1 when the toolkit gave none.
    int index = 0;
    // How many children the toolkit says it has; -1 when the reply lists
    // the children instead.
    int childCount = -1;
    QString name;
    uint role = 0;
    quint32 states[2] = {0, 0};
    // The children the reply holds, in their order.
    QList<QString> children;
    // The children were since asked for on their own: they are those the
    // application lists, in its order.
    bool childrenSettled = false;
    // Known to lack the Component interface, as Qt's hidden items do.
    bool lacksComponent = false;

    bool has(AtspiStateType state) const
    {
        const int bit = int(state);
        return bit < 64 && (states[bit / 32] & (1u << (bit % 32))) != 0;
    }
    quint64 stateBits() const { return quint64(states[0]) | (quint64(states[1]) << 32); }
};

// The GetItems call on an application's bus name; null when it cannot be made.
DBusMessage* newCacheItemsCall(const QString& busName);

// Every object of the reply by path, each with its children in order (at
// most MaximumMenuChildren); nothing when the reply has neither shape the
// call has had. A reply that lists more objects than any real application
// publishes is cut.
std::optional<QHash<QString, CachedObject>> cachedObjectsFromReply(DBusMessage* reply);

// The menu bar the item-by-item search finds: windows in their order, the
// active one first; in each, depth first in child order down to the same
// depth and through the same roles, the first menu bar that is VISIBLE,
// else the first one. An application may list a stale copy of its menus
// under a menu bar of its own. Empty when there is none.
QString cachedMenuBar(const QHash<QString, CachedObject>& objects);

// Qt's shape of a submenu: the item's popup-menu (or menu) child that holds
// the entries; empty when the item has none.
QString cachedSubmenuOf(const CachedObject& item, const QHash<QString, CachedObject>& objects);

} // namespace platform::atspi
