#pragma once

#include <QCheckBox>
#include <QMessageBox>
#include <QPointer>
#include <functional>

// The check box that shows whether the program starts at login and switches
// it. It reads the state when it enters a window and whenever that window
// becomes active, at most once per 2 seconds, so a change made outside the
// program shows up the next time the user comes back to the window; after
// every switch, and when an answer to a switch arrives later (the sandbox's
// portal), it shows the real state at once. A switch that fails is explained
// in an alert.
class QXLoginItemSwitch : public QCheckBox
{
    Q_OBJECT

public:
    explicit QXLoginItemSwitch(QWidget* parent = nullptr);
    ~QXLoginItemSwitch() override;

    // Reads the state anew, throttled. With a window, only when it is the
    // check box's own window (the window that became active).
    void updateLoginItemState(const QWidget* activatedWindow = nullptr);
    // Switches starting at login to the check box's state, then shows the
    // state that holds, and why when it is not the one asked for.
    void setLoginItemViaState();
    // The alert explaining the last failed switch, while it is open.
    QMessageBox* failureAlert() const { return m_failureAlert; }
    // Refreshes whenever window becomes active; nullptr stops that.
    void setUpdatesLoginItemStateOnMainWindowStatusChangeForWindow(QWidget* window);

    // Whole seconds since 1 January 2001 of the last refresh; 0 at first.
    qint64 lastUpdateTimestamp() const { return m_lastUpdateTimestamp; }

    // The clock refreshes are throttled by, in whole seconds since 1 January
    // 2001 (tests set their own; an empty function brings the system's back).
    using Clock = std::function<qint64()>;
    static void setClock(Clock clock);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void viewWillMoveToWindow(QWidget* window);
    // Reads the state and shows it, unthrottled.
    void showLoginItemState();
    void showFailure(bool wanted);

    qint64 m_lastUpdateTimestamp = 0;
    QPointer<QWidget> m_observedWindow;
    bool m_hasAction = false;
    QPointer<QMessageBox> m_failureAlert;
};
