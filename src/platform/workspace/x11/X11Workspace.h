#pragma once

#include "platform/workspace/Workspace.h"
#include "platform/workspace/x11/AtspiApplicationNames.h"
#include "platform/workspace/x11/DesktopEntryNames.h"
#include "platform/workspace/x11/EwmhConnection.h"

#include <QHash>
#include <optional>

namespace platform {

// The workspace of an X11 desktop: the frontmost application is the process
// of _NET_ACTIVE_WINDOW (by _NET_WM_PID), or of the window the accessibility
// bus calls active when that names no client (a Wayland window in front
// under XWayland), running applications are the processes of managed clients
// and of the accessibility bus (regular with a normal managed window or, in a
// Wayland session when they have no managed window at all, a window on the
// bus), /proc tells executables and process names, and activation goes
// through EWMH requests.
class X11Workspace : public Workspace
{
public:
    X11Workspace();

    RunningApplication frontmostApplication() override;
    RunningApplication menuBarOwningApplication() override;
    QList<RunningApplication> runningApplications() override;
    RunningApplication runningApplication(qint64 pid) override;
    QString localizedName(const RunningApplication& application) override;
    bool isHidden(const RunningApplication& application) override;
    bool isTerminated(const RunningApplication& application) override;
    bool setFrontProcess(qint64 pid, bool frontWindowOnly) override;
    bool activateApplication(const RunningApplication& application, bool allWindows) override;
    int reopenApplication(qint64 pid) override;
    // From the accessibility bus's window activation events, which name
    // X11 and Wayland windows alike.
    std::shared_ptr<void> observeFrontApplication(std::function<void(qint64 pid)> changed) override;

private:
    // Client windows of a process, bottom to top.
    QList<quint32> windowsOfProcess(qint64 pid) const;
    // The running application of a process among these client windows.
    RunningApplication applicationAmong(qint64 pid,
                                        const QList<EwmhConnection::ClientWindow>& clients);
    // withWindow holds the processes with a managed window, withNormalWindow
    // those with a normal one.
    RunningApplication makeApplication(qint64 pid, const AtspiApplicationNames::Listing& bus,
                                       const QSet<qint64>& withWindow,
                                       const QSet<qint64>& withNormalWindow);

    EwmhConnection& m_x11;
    // Only in a Wayland session are there applications without a managed
    // window whose windows the bus tells of: on an X11 desktop the bus is
    // never asked, and nothing changes there.
    const bool m_waylandSession;
    // The Wayland compositor's process, in a Wayland session.
    const std::optional<qint64> m_compositor;
    AtspiApplicationNames m_busNames;
    DesktopEntryNames m_desktopEntries;
    // Names found from an application's windows, by process and the
    // executable it runs (a process identifier used again by another program
    // is another application): asking every window of every application
    // costs a pop-up of all applications milliseconds.
    struct KnownName
    {
        QString executable;
        QString name;
    };
    QHash<qint64, KnownName> m_knownNames;
};

} // namespace platform
