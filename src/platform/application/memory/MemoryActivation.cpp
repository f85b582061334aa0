#include "platform/application/memory/MemoryActivation.h"

#include <QEvent>

namespace platform {

bool MemoryActivation::setActivationPolicy(ActivationPolicy policy)
{
    if (refusePolicyChanges) {
        return false;
    }
    ++policyChanges;
    m_policy = policy;
    return true;
}

void MemoryActivation::setWindowOnAllWorkspaces(QWidget* window)
{
    if (window == nullptr || isOnAllWorkspaces(window)) {
        return;
    }
    m_windowsOnAllWorkspaces.append(window);
    window->installEventFilter(this);
}

bool MemoryActivation::isOnAllWorkspaces(const QWidget* window) const
{
    return window != nullptr && m_windowsOnAllWorkspaces.contains(window);
}

bool MemoryActivation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide) {
        m_windowsOnAllWorkspaces.removeAll(watched);
        watched->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
