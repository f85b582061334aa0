#pragma once

#include <memory>

class QWidget;

namespace platform {

// How the program presents itself on the desktop. Regular: its windows have
// taskbar entries. Accessory: they do not (the program lives in the tray or
// nowhere visible).
enum class ActivationPolicy
{
    Regular = 0,
    Accessory = 1
};

// The program's presence among the desktop's applications.
class Activation
{
public:
    virtual ~Activation() = default;

    // The process-wide instance: the X11 one when Qt runs on xcb, else one
    // that only remembers the policy.
    static Activation& current();
    // Replaces the process-wide instance (tests install the memory one).
    static void setCurrent(std::unique_ptr<Activation> activation);

    virtual ActivationPolicy activationPolicy() const = 0;
    // Applies the policy to every window of the program, now and later.
    // Answers false when the desktop refuses it.
    virtual bool setActivationPolicy(ActivationPolicy policy) = 0;
    // Brings the program's front window forward and gives it the focus, even
    // while another application is active.
    virtual void activateIgnoringOtherApps() = 0;
    // The desktop's alert sound.
    virtual void beep() = 0;
    // Puts a top-level window on every workspace, so that it stays in view
    // when the user switches workspaces. Asked each time the window is about
    // to be shown: the desktop forgets it when the window is hidden.
    virtual void setWindowOnAllWorkspaces(QWidget* window) = 0;
};

} // namespace platform
