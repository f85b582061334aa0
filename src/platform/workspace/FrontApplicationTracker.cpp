#include "platform/workspace/FrontApplicationTracker.h"

#include "platform/InstalledInstance.h"
#include "platform/workspace/atspi/AtspiActiveWindowSource.h"

#include <QPointer>

namespace platform {

namespace {

// Windows remembered at most; the inactive ones judged longest ago go first.
constexpr qsizetype RecordLimit = 64;
// Applications whose process is remembered at most.
constexpr qsizetype ProcessLimit = 256;

QString keyOf(const ActiveWindowSource::Window& window)
{
    return window.application + u' ' + window.path;
}

} // namespace

FrontApplicationTracker::FrontApplicationTracker(std::unique_ptr<ActiveWindowSource> source,
                                                 int settleMs)
    : m_source(std::move(source))
{
    // Runs only after a change, never while the desktop is idle.
    m_settled.setSingleShot(true);
    m_settled.setInterval(settleMs);
    connect(&m_settled, &QTimer::timeout, this, &FrontApplicationTracker::tell);
    QPointer<FrontApplicationTracker> guard(this);
    m_listening = m_source->listen([guard](const ActiveWindowSource::Event& event) {
        if (guard) {
            guard->eventArrived(event);
        }
    });
}

FrontApplicationTracker::~FrontApplicationTracker() = default;

FrontApplicationTracker& FrontApplicationTracker::current()
{
    return InstalledInstance<FrontApplicationTracker>::get([] {
        return std::make_unique<FrontApplicationTracker>(
            std::make_unique<atspi::AtspiActiveWindowSource>());
    });
}

void FrontApplicationTracker::setCurrent(std::unique_ptr<FrontApplicationTracker> tracker)
{
    InstalledInstance<FrontApplicationTracker>::set(std::move(tracker));
}

std::optional<qint64> FrontApplicationTracker::frontApplication()
{
    if (!m_eventSeen && !m_scanned) {
        // Windows active since before the tracker listened sent no event.
        m_scanned = true;
        if (const std::optional<ActiveWindowSource::ActiveWindow> found = m_source->scan()) {
            m_pids.insert(found->window.application, found->pid);
            apply(found->window, ++m_sequence, true, found->pid);
        }
    }
    return frontFromRecords();
}

void FrontApplicationTracker::eventArrived(const ActiveWindowSource::Event& event)
{
    const quint64 sequence = ++m_sequence;
    // A deactivation changes only a window already known as active, so an
    // object that is no window cannot do harm there and is not asked about.
    if (!event.mayBeOtherObject || !event.active) {
        windowConfirmed(event, sequence);
        return;
    }
    QPointer<FrontApplicationTracker> guard(this);
    ++m_unanswered;
    m_source->askIsWindow(event.window, [guard, event, sequence](std::optional<bool> isWindow) {
        if (!guard) {
            return;
        }
        --guard->m_unanswered;
        if (isWindow.value_or(false)) {
            guard->windowConfirmed(event, sequence);
        } else {
            guard->tellIfChanged();
        }
    });
}

void FrontApplicationTracker::windowConfirmed(const ActiveWindowSource::Event& event,
                                              quint64 sequence)
{
    m_eventSeen = true;
    if (!event.active) {
        apply(event.window, sequence, false, 0);
        return;
    }
    const auto known = m_pids.constFind(event.window.application);
    if (known != m_pids.cend()) {
        apply(event.window, sequence, true, *known);
        return;
    }
    QPointer<FrontApplicationTracker> guard(this);
    ++m_unanswered;
    m_source->askProcess(event.window.application,
                         [guard, window = event.window, sequence](std::optional<qint64> pid) {
                             if (!guard) {
                                 return;
                             }
                             --guard->m_unanswered;
                             if (!pid || *pid <= 0) {
                                 guard->tellIfChanged();
                                 return;
                             }
                             if (guard->m_pids.size() >= ProcessLimit) {
                                 guard->m_pids.clear();
                             }
                             guard->m_pids.insert(window.application, *pid);
                             guard->apply(window, sequence, true, *pid);
                         });
}

void FrontApplicationTracker::apply(const ActiveWindowSource::Window& window, quint64 sequence,
                                    bool active, qint64 pid)
{
    Record& record = m_records[keyOf(window)];
    if (record.sequence > sequence) {
        return; // a later event of this window was judged first
    }
    record.sequence = sequence;
    record.active = active;
    if (active) {
        record.pid = pid;
    }
    forgetOldRecords();
    tellIfChanged();
}

void FrontApplicationTracker::forgetOldRecords()
{
    while (m_records.size() > RecordLimit) {
        auto oldest = m_records.end();
        for (auto it = m_records.begin(); it != m_records.end(); ++it) {
            const bool older =
                oldest == m_records.end() ||
                (it->active == oldest->active ? it->sequence < oldest->sequence : !it->active);
            if (older) {
                oldest = it;
            }
        }
        m_records.erase(oldest);
    }
}

std::optional<qint64> FrontApplicationTracker::frontFromRecords() const
{
    const Record* front = nullptr;
    for (const Record& record : m_records) {
        if (record.active && (!front || record.sequence > front->sequence)) {
            front = &record;
        }
    }
    return front ? std::optional<qint64>(front->pid) : std::nullopt;
}

void FrontApplicationTracker::tellIfChanged()
{
    // While an event waits for its answer, the front may be about to change
    // again: the old window's deactivation often comes before the new one's
    // activation is complete, and telling "none" in between would be wrong.
    if (m_unanswered == 0) {
        m_settled.start();
    }
}

void FrontApplicationTracker::tell()
{
    const qint64 pid = frontFromRecords().value_or(0);
    if (pid != m_toldPid) {
        m_toldPid = pid;
        Q_EMIT frontApplicationChanged(pid);
    }
}

} // namespace platform
