#include "platform/workspace/memory/MemoryWorkspace.h"

#include <cerrno>

namespace platform {

RunningApplication MemoryWorkspace::frontmostApplication()
{
    return runningApplication(m_frontmost);
}

RunningApplication MemoryWorkspace::menuBarOwningApplication()
{
    return runningApplication(m_menuBarOwner);
}

QList<RunningApplication> MemoryWorkspace::runningApplications()
{
    QList<RunningApplication> applications;
    for (const qint64 pid : std::as_const(m_order)) {
        const Entry& entry = m_entries[pid];
        if (!entry.terminated) {
            applications.append(entry.application);
        }
    }
    return applications;
}

RunningApplication MemoryWorkspace::runningApplication(qint64 pid)
{
    const auto found = m_entries.constFind(pid);
    if (found == m_entries.constEnd() || found->terminated) {
        return {};
    }
    return found->application;
}

QString MemoryWorkspace::localizedName(const RunningApplication& application)
{
    return m_entries.value(application.processIdentifier()).application.localizedName();
}

bool MemoryWorkspace::isHidden(const RunningApplication& application)
{
    return m_entries.value(application.processIdentifier()).hidden;
}

bool MemoryWorkspace::isTerminated(const RunningApplication& application)
{
    const auto found = m_entries.constFind(application.processIdentifier());
    return found == m_entries.constEnd() || found->terminated;
}

bool MemoryWorkspace::setFrontProcess(qint64 pid, bool frontWindowOnly)
{
    m_requests.append(
        QStringLiteral("front %1 %2").arg(pid).arg(frontWindowOnly ? "window" : "all"));
    if (m_processActivationFails || runningApplication(pid).isNull()) {
        return false;
    }
    m_frontmost = pid;
    m_menuBarOwner = pid;
    return true;
}

bool MemoryWorkspace::activateApplication(const RunningApplication& application, bool allWindows)
{
    m_requests.append(QStringLiteral("application %1 %2")
                          .arg(application.processIdentifier())
                          .arg(allWindows ? "all" : "window"));
    if (m_applicationActivationFails ||
        runningApplication(application.processIdentifier()).isNull()) {
        return false;
    }
    m_frontmost = application.processIdentifier();
    m_menuBarOwner = m_frontmost;
    return true;
}

int MemoryWorkspace::reopenApplication(qint64 pid)
{
    m_requests.append(QStringLiteral("reopen %1").arg(pid));
    const auto found = m_entries.find(pid);
    if (found == m_entries.end() || found->terminated) {
        return ESRCH;
    }
    if (found->reopenError == 0) {
        found->hidden = false;
    }
    return found->reopenError;
}

RunningApplication MemoryWorkspace::addApplication(qint64 pid, const QString& localizedName,
                                                   const QString& executablePath,
                                                   RunningApplication::ActivationPolicy policy)
{
    const RunningApplication application(
        pid, localizedName, executablePath.isEmpty() ? QUrl() : QUrl::fromLocalFile(executablePath),
        policy);
    if (!m_entries.contains(pid)) {
        m_order.append(pid);
    }
    m_entries.insert(pid, Entry{application});
    return application;
}

void MemoryWorkspace::setFrontmost(qint64 pid)
{
    const bool changed = pid != m_frontmost;
    m_frontmost = pid;
    if (!changed) {
        return;
    }
    const auto observers = m_frontObservers;
    for (const auto& weak : observers) {
        if (const auto observer = weak.lock()) {
            (*observer)(pid);
        }
    }
}

std::shared_ptr<void> MemoryWorkspace::observeFrontApplication(std::function<void(qint64)> changed)
{
    auto observer = std::make_shared<std::function<void(qint64)>>(std::move(changed));
    m_frontObservers.removeIf([](const auto& weak) { return weak.expired(); });
    m_frontObservers.append(observer);
    return observer;
}

void MemoryWorkspace::setMenuBarOwner(qint64 pid)
{
    m_menuBarOwner = pid;
}

void MemoryWorkspace::setHidden(qint64 pid, bool hidden)
{
    if (m_entries.contains(pid)) {
        m_entries[pid].hidden = hidden;
    }
}

void MemoryWorkspace::setTerminated(qint64 pid, bool terminated)
{
    if (m_entries.contains(pid)) {
        m_entries[pid].terminated = terminated;
    }
}

void MemoryWorkspace::setProcessActivationFails(bool fails)
{
    m_processActivationFails = fails;
}

void MemoryWorkspace::setApplicationActivationFails(bool fails)
{
    m_applicationActivationFails = fails;
}

void MemoryWorkspace::setReopenError(qint64 pid, int error)
{
    if (m_entries.contains(pid)) {
        m_entries[pid].reopenError = error;
    }
}

} // namespace platform
