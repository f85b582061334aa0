#pragma once

#include "platform/workspace/RunningApplication.h"

#include <QList>
#include <functional>
#include <memory>

namespace platform {

// The desktop's applications: which one the user works in, which ones run,
// and the requests that bring one forward or ask it to show its windows.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // The process-wide instance: the X11 one unless another was installed.
    static Workspace& current();
    // Replaces the process-wide instance (tests install the memory one).
    static void setCurrent(std::unique_ptr<Workspace> workspace);

    // The application of the active window; null when there is none.
    virtual RunningApplication frontmostApplication() = 0;
    // The application whose menu bar the user would reach; on this desktop
    // the same as the frontmost one.
    virtual RunningApplication menuBarOwningApplication() = 0;
    // Every application the desktop knows: managed windows' processes and
    // applications on the accessibility bus.
    virtual QList<RunningApplication> runningApplications() = 0;
    // The application of a process; null when the process does not exist.
    virtual RunningApplication runningApplication(qint64 pid) = 0;

    // The name of an application created without one.
    virtual QString localizedName(const RunningApplication& application) = 0;
    virtual bool isHidden(const RunningApplication& application) = 0;
    virtual bool isTerminated(const RunningApplication& application) = 0;

    // The process-level activation: brings the process's front window (or
    // all its windows) forward. False when the process has no window.
    virtual bool setFrontProcess(qint64 pid, bool frontWindowOnly) = 0;
    // The application-level activation, tried when the process-level one fails.
    virtual bool activateApplication(const RunningApplication& application, bool allWindows) = 0;
    // Asks the application to show its windows again (restores minimised
    // ones). 0 when the request was delivered, otherwise an errno value.
    virtual int reopenApplication(qint64 pid) = 0;

    // Calls changed on the main thread with the process of each application
    // that comes to the front, as the desktop tells it (0: no window is
    // active any longer), until the returned handle is destroyed. Null when
    // the desktop cannot tell.
    virtual std::shared_ptr<void> observeFrontApplication(std::function<void(qint64 pid)> changed);
};

} // namespace platform
