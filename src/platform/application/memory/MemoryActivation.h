#pragma once

#include "platform/application/Activation.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace platform {

// Remembers what was asked of it; tests read the counters and can make the
// desktop refuse a policy change. Like a real desktop, it forgets that a
// window was on all workspaces when the window is hidden.
class MemoryActivation : public QObject, public Activation
{
public:
    ActivationPolicy activationPolicy() const override { return m_policy; }
    bool setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps() override { ++activations; }
    void beep() override { ++beeps; }
    void setWindowOnAllWorkspaces(QWidget* window) override;

    // Whether window was put on all workspaces and not hidden since.
    bool isOnAllWorkspaces(const QWidget* window) const;

    bool refusePolicyChanges = false;
    int policyChanges = 0;
    int activations = 0;
    int beeps = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> m_windowsOnAllWorkspaces;
    ActivationPolicy m_policy = ActivationPolicy::Regular;
};

} // namespace platform
