#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/MenuBarRead.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Reads the menu bar of each application that comes to the front while the
// user works, before any pop-up asks for it, and keeps it: a pop-up then
// shows the application's menus without a request on its way. Kept menu
// bars are those of the front application and the few before it. A kept
// menu bar goes as soon as the application says its menus changed (or it
// quits); the front application's is read again then, at most a few times
// a second however many changes it reports. An application that does not
// tell about changes (Qt) is read again whenever a pop-up shows its kept
// menu bar, and the pop-up is built again if its menus changed. Nothing is
// read while the user does nothing. Main thread only.
class QXMenuReadAhead : public QObject
{
    Q_OBJECT

public:
    // The front application and the ones before it.
    static constexpr int KeptApplications = 9;
    // The shortest time between two reads of one application.
    static constexpr int RefreshIntervalMs = 250;
    // How long an application whose menus changed is left to finish
    // changing before it is read again: one change comes as a burst of
    // events, and a read started at the first would be stale at once.
    static constexpr int ChangeQuietMs = 30;

    // depthOf names the menus read with an application's menu bar.
    using DepthOf = std::function<platform::MenuBarReadDepth(qint64 pid)>;
    explicit QXMenuReadAhead(DepthOf depthOf, QObject* parent = nullptr);
    ~QXMenuReadAhead() override;

    // The newest one alive, which pop-ups ask; null when there is none.
    static QXMenuReadAhead* current();

    // How a kept menu bar is shown where the application does not tell
    // about changes to its menus (where it does, it is shown as read):
    enum class Freshness
    {
        // its entries are asked for again as the pop-up reads them;
        AskedAgain,
        // as read, and read again at once to check it: menusChecked tells
        // whether the pop-up should be built again from the new one;
        CheckedLater,
        // as read, asking nothing (the menu bar was just read or checked).
        AsRead,
    };

    // The application came to the front: its menu bar is read unless it is
    // kept or being read. 0 (no application) changes nothing.
    void applicationBecameFront(qint64 pid);
    // The application's kept menu bar (see MenuBarRead::menuBar). A read
    // under way is waited for, at most for the messaging timeout, while the
    // event loop serves everything but user input; not a check, unless
    // entries are to be asked again. Null when nothing is kept, or what was
    // kept has changed and is not read again yet.
    platform::AccessibilityElement menuBar(qint64 pid, Freshness freshness = Freshness::AskedAgain);

    bool isKept(qint64 pid) const;
    // Whether the kept menu bar is shown as it was read (see
    // MenuBarRead::isShownAsRead); false when none is kept.
    bool isShownAsRead(qint64 pid) const;
    // Whether a read of the application is under way or due.
    bool isReading(qint64 pid) const;
    // Applications with a kept menu bar or a read, the front one first.
    QList<qint64> applications() const;
    // How many reads were started so far.
    int readsStarted() const { return m_readsStarted; }

Q_SIGNALS:
    // The read that checks a menu bar shown as read (Freshness::CheckedLater)
    // has finished: changed tells whether it found other menus than were
    // shown. Not sent when the check found no menu bar or was not answered.
    void menusChecked(qint64 pid, bool changed);

private:
    struct Entry
    {
        qint64 pid = 0;
        // The read under way, and the last one that found the menu bar.
        std::unique_ptr<platform::MenuBarRead> read;
        std::unique_ptr<platform::MenuBarRead> kept;
        // A kept read that went stale: the next read starts from what it
        // found.
        std::unique_ptr<platform::MenuBarRead> stale;
        std::shared_ptr<void> watch;
        bool changedDuringRead = false;
        bool refreshPending = false;
        // A pop-up shows the kept menu bar as read and waits to hear from
        // the next read whether it still holds.
        bool checkPending = false;
        // That read starts on the next pass of the event loop.
        bool checkScheduled = false;
        QElapsedTimer lastStarted;
    };

    Entry* find(qint64 pid) const;
    void remove(qint64 pid);
    void startRead(Entry& entry);
    void readFinished(qint64 pid);
    void menusChanged(qint64 pid);
    // Reads the application now, or once atLeastMs have passed and the
    // last read started the refresh interval ago.
    void scheduleRead(Entry& entry, int atLeastMs = 0);

    DepthOf m_depthOf;
    // The front application first.
    std::vector<std::unique_ptr<Entry>> m_entries;
    QXMenuReadAhead* m_previous = nullptr;
    int m_readsStarted = 0;
    // A pop-up waiting for a read of that application, which a change
    // during the read ends (what it reads would be thrown away).
    QEventLoop* m_waitLoop = nullptr;
    qint64 m_waitingFor = 0;
};
