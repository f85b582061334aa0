#include "menus/QXMenuReadAhead.h"

#include "platform/accessibility/Accessibility.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace {

QXMenuReadAhead* currentReadAhead = nullptr;

} // namespace

QXMenuReadAhead::QXMenuReadAhead(DepthOf depthOf, QObject* parent)
    : QObject(parent), m_depthOf(std::move(depthOf)), m_previous(currentReadAhead)
{
    currentReadAhead = this;
}

QXMenuReadAhead::~QXMenuReadAhead()
{
    if (currentReadAhead == this) {
        currentReadAhead = m_previous;
    }
}

QXMenuReadAhead* QXMenuReadAhead::current()
{
    return currentReadAhead;
}

QXMenuReadAhead::Entry* QXMenuReadAhead::find(qint64 pid) const
{
    for (const std::unique_ptr<Entry>& entry : m_entries) {
        if (entry->pid == pid) {
            return entry.get();
        }
    }
    return nullptr;
}

void QXMenuReadAhead::remove(qint64 pid)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [pid](const auto& entry) { return entry->pid == pid; });
    if (found == m_entries.end()) {
        return;
    }
    // The read may be the one telling us it finished.
    if ((*found)->read) {
        (*found)->read->disconnect(this);
        (*found)->read.release()->deleteLater();
    }
    m_entries.erase(found);
}

void QXMenuReadAhead::applicationBecameFront(qint64 pid)
{
    // The program never reads its own menus: it would have to answer itself.
    if (pid <= 0 || pid == QCoreApplication::applicationPid()) {
        return;
    }
    auto found = std::find_if(m_entries.begin(), m_entries.end(),
                              [pid](const auto& entry) { return entry->pid == pid; });
    if (found == m_entries.end()) {
        auto entry = std::make_unique<Entry>();
        entry->pid = pid;
        m_entries.insert(m_entries.begin(), std::move(entry));
        while (m_entries.size() > size_t(KeptApplications)) {
            remove(m_entries.back()->pid);
        }
    } else {
        std::rotate(m_entries.begin(), found, found + 1);
    }
    Entry& entry = *m_entries.front();
    if (entry.kept || entry.read || entry.refreshPending) {
        return;
    }
    scheduleRead(entry);
}

void QXMenuReadAhead::scheduleRead(Entry& entry, int atLeastMs)
{
    const qint64 sinceLast =
        entry.lastStarted.isValid() ? entry.lastStarted.elapsed() : qint64(RefreshIntervalMs);
    const qint64 delay = std::max<qint64>(RefreshIntervalMs - sinceLast, atLeastMs);
    if (delay <= 0) {
        startRead(entry);
        return;
    }
    entry.refreshPending = true;
    const qint64 pid = entry.pid;
    QTimer::singleShot(int(delay), this, [this, pid] {
        Entry* waiting = find(pid);
        if (!waiting || !waiting->refreshPending) {
            return;
        }
        waiting->refreshPending = false;
        if (!waiting->read && !waiting->kept) {
            startRead(*waiting);
        }
    });
}

void QXMenuReadAhead::startRead(Entry& entry)
{
    const qint64 pid = entry.pid;
    // Watched before reading: a change during the read makes what it read
    // stale.
    entry.watch =
        platform::Accessibility::current().watchMenus(pid, [this, pid] { menusChanged(pid); });
    if (!entry.watch) {
        // A menu bar nobody can keep true is not kept.
        remove(pid);
        return;
    }
    entry.changedDuringRead = false;
    entry.lastStarted.start();
    ++m_readsStarted;
    // What an earlier read found (where the menu bar is) saves requests.
    entry.read = platform::Accessibility::current().startMenuBarRead(
        pid, m_depthOf ? m_depthOf(pid) : platform::MenuBarReadDepth(),
        entry.stale ? entry.stale.get() : entry.kept.get());
    connect(entry.read.get(), &platform::MenuBarRead::finished, this,
            [this, pid] { readFinished(pid); });
}

void QXMenuReadAhead::readFinished(qint64 pid)
{
    Entry* entry = find(pid);
    if (!entry || !entry->read) {
        return;
    }
    std::unique_ptr<platform::MenuBarRead> read = std::move(entry->read);
    read->disconnect(this);
    const bool found = !read->menuBar().isNull();
    if (found && !entry->changedDuringRead) {
        // Compared only for a pop-up waiting to hear.
        const platform::MenuBarRead* before = entry->kept ? entry->kept.get() : entry->stale.get();
        const bool checked = std::exchange(entry->checkPending, false);
        const bool changed = checked && (!before || !read->readSameMenusAs(*before));
        entry->kept = std::move(read);
        entry->stale.reset();
        if (checked) {
            Q_EMIT menusChecked(pid, changed);
        }
        return;
    }
    // Deleted later: it is telling us it finished.
    read.release()->deleteLater();
    if (entry->changedDuringRead) {
        entry->changedDuringRead = false;
        if (entry == m_entries.front().get()) {
            scheduleRead(*entry);
        } else {
            remove(pid);
        }
        return;
    }
    // No menu bar, or the application did not answer in time: a pop-up
    // asks it again itself.
    remove(pid);
}

void QXMenuReadAhead::menusChanged(qint64 pid)
{
    Entry* entry = find(pid);
    if (!entry) {
        return;
    }
    // A watch tells once; the next read watches again.
    entry->watch.reset();
    if (entry->read) {
        entry->changedDuringRead = true;
        // A check under way: what is kept no longer holds either.
        if (entry->kept) {
            entry->stale = std::move(entry->kept);
        }
        if (m_waitLoop && m_waitingFor == pid) {
            m_waitLoop->quit(); // the pop-up reads for itself
        }
        return;
    }
    entry->stale = std::move(entry->kept);
    // Only the front application is read again (once it has finished
    // changing): the others are when they come to the front, so that
    // nothing is read while the user works in one application and others
    // change their menus.
    if (entry == m_entries.front().get()) {
        scheduleRead(*entry, ChangeQuietMs);
    } else {
        remove(pid);
    }
}

platform::AccessibilityElement QXMenuReadAhead::menuBar(qint64 pid, Freshness freshness)
{
    Entry* entry = find(pid);
    if (!entry) {
        return {};
    }
    // A read that saw a change is thrown away when it finishes: the pop-up
    // does not wait for it. Nor for a check of what is kept: it shows what
    // is kept, and the check tells it what changed.
    const bool checking = entry->read && entry->kept;
    bool waited = false;
    if (entry->read && !entry->changedDuringRead && !m_waitLoop &&
        (!checking || freshness == Freshness::AskedAgain)) {
        QEventLoop loop;
        QPointer<platform::MenuBarRead> read(entry->read.get());
        connect(read, &platform::MenuBarRead::finished, &loop, &QEventLoop::quit);
        connect(read, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(int(platform::Accessibility::current().messagingTimeoutMs()), &loop,
                           &QEventLoop::quit);
        m_waitLoop = &loop;
        m_waitingFor = pid;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_waitLoop = nullptr;
        entry = find(pid);
        waited = entry && !entry->read;
    }
    if (!entry || !entry->kept) {
        return {};
    }
    // What a read just finished found holds as it is.
    if (waited || freshness == Freshness::AsRead || entry->kept->isShownAsRead()) {
        return entry->kept->menuBarAsRead();
    }
    if (freshness == Freshness::AskedAgain) {
        return entry->kept->menuBarForPopUp();
    }
    // Shown at once, and read again meanwhile (however soon after the last
    // read: the user asked for it).
    const platform::AccessibilityElement shown = entry->kept->menuBarAsRead();
    // Started once the event loop turns: the pop-up is on its way to the
    // screen then, and sending the read's requests does not hold it up.
    entry->checkPending = true;
    if (!entry->read && !entry->checkScheduled) {
        entry->checkScheduled = true;
        QTimer::singleShot(0, this, [this, pid] {
            Entry* checked = find(pid);
            if (!checked || !std::exchange(checked->checkScheduled, false)) {
                return;
            }
            if (checked->checkPending && !checked->read && checked->kept) {
                startRead(*checked);
            }
        });
    }
    return shown;
}

bool QXMenuReadAhead::isKept(qint64 pid) const
{
    const Entry* entry = find(pid);
    return entry && entry->kept;
}

bool QXMenuReadAhead::isShownAsRead(qint64 pid) const
{
    const Entry* entry = find(pid);
    return entry && entry->kept && entry->kept->isShownAsRead();
}

bool QXMenuReadAhead::isReading(qint64 pid) const
{
    const Entry* entry = find(pid);
    return entry && (entry->read || entry->refreshPending || entry->checkScheduled);
}

QList<qint64> QXMenuReadAhead::applications() const
{
    QList<qint64> pids;
    for (const std::unique_ptr<Entry>& entry : m_entries) {
        pids.append(entry->pid);
    }
    return pids;
}
