#include "menus/QXMenuKeyboardNavigationWorkaround.h"

namespace {

QXMenuKeyboardNavigationWorkaroundPanel*& panelStorage()
{
    // Kept for the life of the program.
    static QXMenuKeyboardNavigationWorkaroundPanel* panel = nullptr;
    return panel;
}

} // namespace

QXMenuKeyboardNavigationWorkaroundPanel::QXMenuKeyboardNavigationWorkaroundPanel()
{
    m_pendingClose.setSingleShot(true);
    m_pendingClose.setInterval(0);
    connect(&m_pendingClose, &QTimer::timeout, this,
            &QXMenuKeyboardNavigationWorkaroundPanel::close);
}

void QXMenuKeyboardNavigationWorkaroundPanel::makeKeyAndOrderFront()
{
    m_key = true;
}

void QXMenuKeyboardNavigationWorkaroundPanel::addCloseAction(CloseAction action)
{
    if (action) {
        m_closeActions.append(std::move(action));
    }
}

void QXMenuKeyboardNavigationWorkaroundPanel::close()
{
    m_key = false;
    m_pendingClose.stop();
    // Actions added while these run wait for the next close.
    const QList<CloseAction> actions = std::exchange(m_closeActions, {});
    for (const CloseAction& action : actions) {
        action();
    }
}

void QXMenuKeyboardNavigationWorkaroundPanel::closeOnNextPass()
{
    m_pendingClose.start();
}

void QXMenuKeyboardNavigationWorkaroundPanel::cancelPendingClose()
{
    m_pendingClose.stop();
}

QXMenuKeyboardNavigationWorkaroundPanel* QXMenuKeyboardNavigationWorkaroundPanelInstance()
{
    return panelStorage();
}

void QXRefreshMenuKeyboardNavigation(
    QXMenuKeyboardNavigationWorkaroundPanel::CloseAction closeAction)
{
    QXMenuKeyboardNavigationWorkaroundPanel*& panel = panelStorage();
    if (panel == nullptr || !panel->isKeyWindow()) {
        if (panel == nullptr) {
            panel = new QXMenuKeyboardNavigationWorkaroundPanel();
        }
        panel->cancelPendingClose();
        panel->makeKeyAndOrderFront();
        panel->closeOnNextPass();
    }
    panel->addCloseAction(std::move(closeAction));
}
