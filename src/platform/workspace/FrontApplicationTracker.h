#pragma once

#include "platform/workspace/ActiveWindowSource.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

namespace platform {

// The application whose window is active, followed as the desktop's window
// activation events arrive, so that knowing it costs nothing at a trigger and
// nothing while the desktop is idle (no timers, no polling). Before the first
// event the active window is found by one scan of the applications' windows.
//
// Events are judged in the order they arrive, even when the requests that
// complete them (the application's process, whether the object is a window)
// are answered out of order: a window's later event always wins over an
// earlier one, and the most recently activated window still active is in
// front. A change is told once the front has stayed the same for a moment:
// Qt applications losing the focus send an activation of their window just
// before its deactivation, and one window's deactivation often comes before
// the next one's activation.
class FrontApplicationTracker : public QObject
{
    Q_OBJECT

public:
    // How long the front must stay the same before a change is told.
    static constexpr int DefaultSettleMs = 100;

    explicit FrontApplicationTracker(std::unique_ptr<ActiveWindowSource> source,
                                     int settleMs = DefaultSettleMs);
    ~FrontApplicationTracker() override;

    // The process-wide tracker: the accessibility bus's unless another was
    // installed. Made on first use, and listening from then on.
    static FrontApplicationTracker& current();
    // Replaces the process-wide tracker (nullptr brings the default back).
    static void setCurrent(std::unique_ptr<FrontApplicationTracker> tracker);

    // The process of the active window; nothing when no window is known to
    // be active. Scans once when no event has come yet.
    std::optional<qint64> frontApplication();
    // Whether activation events can be had at all.
    bool isListening() const { return m_listening; }

Q_SIGNALS:
    // Another application came to the front; 0 when no known window is
    // active any longer.
    void frontApplicationChanged(qint64 pid);

private:
    struct Record
    {
        quint64 sequence = 0;
        qint64 pid = 0;
        bool active = false;
    };

    void eventArrived(const ActiveWindowSource::Event& event);
    void windowConfirmed(const ActiveWindowSource::Event& event, quint64 sequence);
    void apply(const ActiveWindowSource::Window& window, quint64 sequence, bool active, qint64 pid);
    void forgetOldRecords();
    std::optional<qint64> frontFromRecords() const;
    void tellIfChanged();
    void tell();

    std::unique_ptr<ActiveWindowSource> m_source;
    QTimer m_settled;
    // Last event judged per window, by application and path.
    QHash<QString, Record> m_records;
    // Processes of applications; an application's name on the bus is never
    // given to another one.
    QHash<QString, qint64> m_pids;
    quint64 m_sequence = 0;
    // Questions asked for events and not answered yet.
    int m_unanswered = 0;
    qint64 m_toldPid = 0;
    bool m_listening = false;
    bool m_eventSeen = false;
    bool m_scanned = false;
};

} // namespace platform
