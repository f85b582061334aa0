#pragma once

#include "platform/application/Activation.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace platform {

// Activation on an EWMH window manager: the accessory policy marks every
// top-level window of the program with _NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER; activation asks the window manager through a
// _NET_ACTIVE_WINDOW message; a window on all workspaces is sticky on every
// desktop (_NET_WM_DESKTOP 0xFFFFFFFF and _NET_WM_STATE_STICKY). The front
// window activation brings forward is the one the program showed or raised
// last: the window manager tells which has the focus only later.
class X11Activation : public QObject, public Activation
{
    Q_OBJECT

public:
    X11Activation();
    ~X11Activation() override;

    // True when Qt runs on an X server.
    static bool isAvailable();

    ActivationPolicy activationPolicy() const override { return m_policy; }
    bool setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps() override;
    void beep() override;
    void setWindowOnAllWorkspaces(QWidget* window) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ActivationPolicy m_policy = ActivationPolicy::Regular;
    // The window the program showed or raised last.
    QPointer<QWidget> m_front;
};

} // namespace platform
