#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

// Keeps keyboard navigation working in the program's pop-up menus while
// another application is active. Each time the program stops being the active
// application, the panel takes the "key" role for one pass of the event loop
// and then closes, running the actions queued for its closing.
//
// On X11 a pop-up menu of the program grabs the keyboard itself for as long
// as it is open, so arrows, Return and Escape reach it whichever window has
// the focus. The panel therefore never shows a window: it keeps only the
// timing and the close actions, and never takes the focus from the
// application the user works in.
class QXMenuKeyboardNavigationWorkaroundPanel : public QObject
{
    Q_OBJECT

public:
    using CloseAction = std::function<void()>;

    QXMenuKeyboardNavigationWorkaroundPanel();

    bool canBecomeKeyWindow() const { return true; }
    // Whether the panel holds the key role (from being ordered front to its close).
    bool isKeyWindow() const { return m_key; }
    // Takes the key role until close().
    void makeKeyAndOrderFront();
    // Ignores an empty action; runs the others at the next close, in order.
    void addCloseAction(CloseAction action);
    // Gives up the key role, then runs the queued actions once and forgets them.
    void close();
    // Asks for close() on the next pass of the event loop; a pending request
    // is replaced, so at most one is pending.
    void closeOnNextPass();
    void cancelPendingClose();
    bool hasPendingClose() const { return m_pendingClose.isActive(); }

    QList<CloseAction> closeActions() const { return m_closeActions; }
    void setCloseActions(const QList<CloseAction>& actions) { m_closeActions = actions; }

private:
    QList<CloseAction> m_closeActions;
    QTimer m_pendingClose;
    bool m_key = false;
};

// Gives the panel the key role for one pass of the event loop (unless it
// holds it already) and queues the close action, if any, for its closing.
// Called each time the program stops being the active application.
void QXRefreshMenuKeyboardNavigation(
    QXMenuKeyboardNavigationWorkaroundPanel::CloseAction closeAction = nullptr);

// The one panel, created at the first refresh; nullptr before.
QXMenuKeyboardNavigationWorkaroundPanel* QXMenuKeyboardNavigationWorkaroundPanelInstance();
