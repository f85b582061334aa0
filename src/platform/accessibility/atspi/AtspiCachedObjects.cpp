#include "platform/accessibility/atspi/AtspiCachedObjects.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuWalkLimits.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/MenuBarSearch.h"

#include <QByteArrayView>
#include <QSet>
#include <algorithm>
#include <dbus/dbus.h>

namespace platform::atspi {

namespace {

// The most objects read from one reply: far more than an application with
// the largest tree that is searched publishes in all (its windows and
// their contents included). A reply that lists more is cut.
constexpr qsizetype MaximumCachedObjects = qsizetype(MenuTree::MaximumSearchedItems) * 4;

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
            object.childCount = takeBasic<dbus_int32_t>(&item);
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

QString searchMenuBar(const QHash<QString, CachedObject>& objects, const QString& object, int depth,
                      QString& first, QSet<QString>& searched)
{
    if (searched.contains(object)) {
        return QString();
    }
    searched.insert(object);
    for (const QString& childPath : objects.value(object).children) {
        const auto child = objects.constFind(childPath);
        if (child == objects.cend()) {
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
            const QString bar = searchMenuBar(objects, childPath, depth + 1, first, searched);
            if (!bar.isEmpty()) {
                return bar;
            }
        }
    }
    return QString();
}

} // namespace

DBusMessage* newCacheItemsCall(const QString& busName)
{
    return dbus_message_new_method_call(busName.toUtf8().constData(), "/org/a11y/atspi/cache",
                                        "org.a11y.atspi.Cache", "GetItems");
}

std::optional<QHash<QString, CachedObject>> cachedObjectsFromReply(DBusMessage* reply)
{
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
    return objects;
}

QString cachedMenuBar(const QHash<QString, CachedObject>& objects)
{
    QList<QString> windows;
    const auto root = objects.constFind(QStringLiteral("/org/a11y/atspi/accessible/root"));
    if (root != objects.cend()) {
        windows = root->children;
    } else {
        for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
            if (!objects.contains(it->parent)) {
                windows.append(it.key());
            }
        }
        sortChildren(windows, objects);
    }
    std::stable_partition(windows.begin(), windows.end(), [&objects](const QString& window) {
        return objects.value(window).has(ATSPI_STATE_ACTIVE);
    });
    // Each object is searched once, however often a foreign tree lists it.
    QSet<QString> searched;
    for (const QString& window : std::as_const(windows)) {
        QString first;
        const QString bar = searchMenuBar(objects, window, 0, first, searched);
        if (!bar.isEmpty()) {
            return bar;
        }
        if (!first.isEmpty()) {
            return first;
        }
    }
    return QString();
}

QString cachedSubmenuOf(const CachedObject& item, const QHash<QString, CachedObject>& objects)
{
    for (const QString& childPath : item.children) {
        const uint role = objects.value(childPath).role;
        if (role == ATSPI_ROLE_POPUP_MENU || role == ATSPI_ROLE_MENU) {
            return childPath;
        }
    }
    return QString();
}

} // namespace platform::atspi
