#pragma once

#include "platform/workspace/Workspace.h"

#include <QHash>
#include <QStringList>

namespace platform {

// A scripted desktop for tests: applications added through the control
// surface below, and every activation and reopen request recorded as a line
// ("front 42 window", "front 42 all", "application 42 all", "reopen 42").
class MemoryWorkspace : public Workspace
{
public:
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
    // Told by setFrontmost.
    std::shared_ptr<void> observeFrontApplication(std::function<void(qint64 pid)> changed) override;

    // --- Control surface for tests ---

    // Adds an application; it runs, is not hidden and comes last in the list.
    RunningApplication addApplication(qint64 pid, const QString& localizedName,
                                      const QString& executablePath,
                                      RunningApplication::ActivationPolicy policy =
                                          RunningApplication::ActivationPolicy::Regular);
    void setFrontmost(qint64 pid);
    void setMenuBarOwner(qint64 pid);
    void setHidden(qint64 pid, bool hidden);
    void setTerminated(qint64 pid, bool terminated);
    // Makes the process-level or application-level activation fail.
    void setProcessActivationFails(bool fails);
    void setApplicationActivationFails(bool fails);
    // The error the reopen request of a process answers with.
    void setReopenError(qint64 pid, int error);
    QStringList requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

private:
    QList<std::weak_ptr<std::function<void(qint64)>>> m_frontObservers;
    struct Entry
    {
        RunningApplication application;
        bool hidden = false;
        bool terminated = false;
        int reopenError = 0;
    };

    QList<qint64> m_order;
    QHash<qint64, Entry> m_entries;
    qint64 m_frontmost = -1;
    qint64 m_menuBarOwner = -1;
    bool m_processActivationFails = false;
    bool m_applicationActivationFails = false;
    QStringList m_requests;
};

} // namespace platform
