#pragma once

#include "platform/accessibility/atspi/AtspiCachedObjects.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>

namespace platform::atspi {

// An application's menus as one GetItems reply described them: every menu
// entry below the menu bar with its name, role, states and children, so
// that walking the menus asks the application for nothing but key bindings.
struct MenuSnapshot
{
    QString busName;
    qint64 pid = 0;
    // The application's toolkit is GTK (hidden entries lack VISIBLE; menus
    // publish their entries while closed).
    bool gtk = false;
    QString menuBar;
    QHash<QString, CachedObject> objects;
    // The key-binding texts read so far, by path: empty for an entry
    // without one.
    QHash<QString, QString> keyBindings;
    // The application tells about every change to its menus (GTK 3 does,
    // Qt does not): what was read stays true until it says otherwise.
    bool reportsChanges = false;
    // The toolkit's name as the application gave it.
    QString toolkit;
    // Every entry a menu lists is asked for again when the menu's children
    // are first read, however much is known of it: a snapshot kept from
    // earlier of an application that does not tell about changes.
    bool reaskEntries = false;
    // The entries asked about since the snapshot was made (or copied), and
    // those of them that did not answer: they are not shown.
    QSet<QString> asked;
    QSet<QString> unanswered;
};

// Whether two snapshots of an application describe the same menus: the same
// menu bar and objects, each with the same parent, role, name, children,
// shown states (enabled, visible, checked, mixed) and interfaces, and the
// same key bindings. What pop-ups learnt of them since they were made, and
// states that come and go as menus open and close, do not count.
bool haveSameMenus(const MenuSnapshot& one, const MenuSnapshot& other);

// What reading the snapshot came to.
struct MenuSnapshotRead
{
    std::shared_ptr<MenuSnapshot> snapshot;
    // The application did not answer within the messaging timeout (counted
    // as a timed-out request).
    bool timedOut = false;
};

// Reads the snapshot with one blocking call, bounded by the messaging
// timeout and the read budget. No snapshot where the application answers
// no such call (Qt), has no menu bar in it, or left entries of a menu below
// the bar out of it (a toolkit may list only the objects it has made so
// far): the menus are then read entry by entry.
MenuSnapshotRead readMenuSnapshot(const QString& busName, qint64 pid, bool gtk);

// Whether every menu below the menu bar holds all the entries its count
// promises (up to the most ever read of one menu), and every entry it lists
// is in the snapshot.
bool isSnapshotComplete(const QHash<QString, CachedObject>& objects, const QString& menuBar);

} // namespace platform::atspi
