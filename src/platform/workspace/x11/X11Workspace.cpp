#include "platform/workspace/x11/X11Workspace.h"

#include "platform/session/DisplaySession.h"
#include "platform/session/WaylandCompositor.h"
#include "platform/workspace/FrontApplicationTracker.h"
#include "platform/workspace/WindowPresence.h"
#include "platform/workspace/x11/EwmhConnection.h"
#include "platform/workspace/x11/ProcessTable.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>

namespace platform {

X11Workspace::X11Workspace()
    : m_x11(EwmhConnection::shared()), m_waylandSession(DisplaySession::fromEnvironment().wayland),
      m_compositor(m_waylandSession ? waylandCompositorProcess() : std::nullopt)
{
    // Listens from now on, so that the front window is known without a scan
    // when it is first asked for.
    FrontApplicationTracker::current();
}

std::shared_ptr<void> X11Workspace::observeFrontApplication(std::function<void(qint64)> changed)
{
    FrontApplicationTracker& tracker = FrontApplicationTracker::current();
    if (!tracker.isListening()) {
        return nullptr;
    }
    auto receiver = std::make_shared<QObject>();
    QObject::connect(&tracker, &FrontApplicationTracker::frontApplicationChanged, receiver.get(),
                     std::move(changed));
    return receiver;
}

QList<quint32> X11Workspace::windowsOfProcess(qint64 pid) const
{
    QList<quint32> windows;
    for (const EwmhConnection::ClientWindow& client : m_x11.clientWindowsWithProcesses()) {
        if (client.pid == pid) {
            windows.append(client.window);
        }
    }
    return windows;
}

RunningApplication X11Workspace::makeApplication(qint64 pid,
                                                 const AtspiApplicationNames::Listing& bus,
                                                 const QSet<qint64>& withWindow,
                                                 const QSet<qint64>& withNormalWindow)
{
    WindowPresence presence;
    presence.hasManagedWindow = withWindow.contains(pid);
    presence.hasNormalManagedWindow = withNormalWindow.contains(pid);
    presence.onAccessibilityBus = bus.processIdentifiers.contains(pid);
    presence.hasAccessibleWindow = bus.showingWindow.contains(pid);
    const QString executable = ProcessTable::executablePath(pid);
    return RunningApplication(pid, executable.isEmpty() ? QUrl() : QUrl::fromLocalFile(executable),
                              presence.activationPolicy());
}

QString X11Workspace::localizedName(const RunningApplication& application)
{
    const qint64 pid = application.processIdentifier();
    const QString executable = ProcessTable::executablePath(pid);
    const auto known = m_knownNames.constFind(pid);
    if (known != m_knownNames.cend() && known->executable == executable) {
        return known->name;
    }
    DesktopEntryNames::Application identity;
    const QList<quint32> windows = windowsOfProcess(pid);
    for (const quint32 window : windows) {
        for (const QByteArray& property : {QByteArrayLiteral("_GTK_APPLICATION_ID"),
                                           QByteArrayLiteral("_KDE_NET_WM_DESKTOP_FILE")}) {
            const QString id =
                QString::fromUtf8(m_x11.windowStringProperty(window, property).value_or(""));
            if (!id.isEmpty() && !identity.desktopIds.contains(id)) {
                identity.desktopIds.append(id);
            }
        }
        // WM_CLASS holds the instance and the class, each ended by NUL.
        const QList<QByteArray> parts =
            m_x11.windowStringProperty(window, "WM_CLASS").value_or("").split('\0');
        for (qsizetype i = std::min<qsizetype>(parts.size(), 2) - 1; i >= 0; --i) {
            const QString windowClass = QString::fromLocal8Bit(parts.at(i));
            if (!windowClass.isEmpty() && !identity.windowClasses.contains(windowClass)) {
                identity.windowClasses.append(windowClass);
            }
        }
    }
    const QString processName = ProcessTable::processName(pid);
    identity.programs = {QFileInfo(executable).fileName(), processName};
    identity.programs.removeAll(QString());
    identity.ownName = m_busNames.name(pid);
    const QString name = m_desktopEntries.name(identity);
    const QString found = name.isEmpty() ? processName : name;
    // Kept once the windows have told what they can; an application asked
    // before its first window maps is asked again.
    if (!windows.isEmpty() && !executable.isEmpty()) {
        if (m_knownNames.size() > 512) {
            m_knownNames.clear();
        }
        m_knownNames.insert(pid, KnownName{executable, found});
    }
    return found;
}

QList<RunningApplication> X11Workspace::runningApplications()
{
    QList<qint64> order;
    QSet<qint64> withWindow;
    QSet<qint64> withNormalWindow;
    for (const EwmhConnection::ClientWindow& client : m_x11.clientWindowsWithProcesses()) {
        if (!client.pid) {
            continue;
        }
        if (!order.contains(*client.pid)) {
            order.append(*client.pid);
        }
        withWindow.insert(*client.pid);
        if (client.normal) {
            withNormalWindow.insert(*client.pid);
        }
    }
    // A Wayland client has no managed window: whether it shows one only the
    // bus can tell. The compositor is not asked (GNOME Shell would say yes,
    // for its stage) and not listed.
    const AtspiApplicationNames::Listing bus = m_busNames.list([this, &withWindow](qint64 pid) {
        return m_waylandSession && !withWindow.contains(pid) && pid != m_compositor;
    });
    QList<qint64> busPids = bus.processIdentifiers.values();
    busPids.removeAll(m_compositor.value_or(0));
    std::sort(busPids.begin(), busPids.end());
    for (const qint64 pid : std::as_const(busPids)) {
        if (!order.contains(pid)) {
            order.append(pid);
        }
    }
    QList<RunningApplication> applications;
    for (const qint64 pid : std::as_const(order)) {
        if (ProcessTable::processExists(pid)) {
            applications.append(makeApplication(pid, bus, withWindow, withNormalWindow));
        }
    }
    return applications;
}

RunningApplication X11Workspace::runningApplication(qint64 pid)
{
    if (!ProcessTable::processExists(pid)) {
        return {};
    }
    return applicationAmong(pid, m_x11.clientWindowsWithProcesses());
}

RunningApplication
X11Workspace::applicationAmong(qint64 pid, const QList<EwmhConnection::ClientWindow>& clients)
{
    QSet<qint64> withWindow;
    QSet<qint64> withNormalWindow;
    for (const EwmhConnection::ClientWindow& client : clients) {
        if (client.pid != pid) {
            continue;
        }
        withWindow.insert(pid);
        if (client.normal) {
            withNormalWindow.insert(pid);
        }
    }
    // A normal window settles it: the accessibility bus, whose listing asks
    // every application on it, is not asked (it is, at every pop-up).
    if (!withNormalWindow.isEmpty()) {
        return makeApplication(pid, {}, withWindow, withNormalWindow);
    }
    const AtspiApplicationNames::Listing bus =
        m_busNames.list([this, pid, &withWindow](qint64 other) {
            return m_waylandSession && other == pid && withWindow.isEmpty();
        });
    return makeApplication(pid, bus, withWindow, withNormalWindow);
}

RunningApplication X11Workspace::frontmostApplication()
{
    // In a Wayland session the active window is often no X11 window at all:
    // _NET_ACTIVE_WINDOW is then empty, or names a window of no running
    // client (XWayland's root, a compositor's own). The accessibility bus
    // knows the active window whatever its display protocol.
    std::optional<quint32> window;
    const QList<EwmhConnection::ClientWindow> clients = m_x11.clientWindowsWithProcesses(&window);
    const auto active =
        std::find_if(clients.cbegin(), clients.cend(),
                     [&window](const auto& client) { return window && client.window == *window; });
    const std::optional<qint64> pid = active != clients.cend() ? active->pid : std::nullopt;
    if (pid && ProcessTable::processExists(*pid)) {
        return applicationAmong(*pid, clients);
    }
    const std::optional<qint64> tracked = FrontApplicationTracker::current().frontApplication();
    return tracked ? runningApplication(*tracked) : RunningApplication();
}

RunningApplication X11Workspace::menuBarOwningApplication()
{
    return frontmostApplication();
}

bool X11Workspace::isHidden(const RunningApplication& application)
{
    const QList<quint32> windows = windowsOfProcess(application.processIdentifier());
    if (windows.isEmpty()) {
        return false;
    }
    for (const quint32 window : windows) {
        if (!m_x11.windowState(window).hidden) {
            return false;
        }
    }
    return true;
}

bool X11Workspace::isTerminated(const RunningApplication& application)
{
    return !ProcessTable::processExists(application.processIdentifier());
}

bool X11Workspace::setFrontProcess(qint64 pid, bool frontWindowOnly)
{
    if (frontWindowOnly) {
        const std::optional<quint32> window = m_x11.frontWindowOfProcess(pid);
        return window && m_x11.activateWindow(*window);
    }
    const QList<quint32> windows = windowsOfProcess(pid);
    const std::optional<quint32> front = m_x11.frontWindowOfProcess(pid);
    bool activated = false;
    // Bottom to top, the front window last, so the stacking order is kept.
    for (const quint32 window : windows) {
        if (window != front) {
            activated = m_x11.activateWindow(window) || activated;
        }
    }
    if (front) {
        activated = m_x11.activateWindow(*front) || activated;
    }
    return activated;
}

bool X11Workspace::activateApplication(const RunningApplication& application, bool allWindows)
{
    return setFrontProcess(application.processIdentifier(), !allWindows);
}

int X11Workspace::reopenApplication(qint64 pid)
{
    if (!ProcessTable::processExists(pid)) {
        return ESRCH;
    }
    if (!m_x11.isValid()) {
        return ENOTCONN;
    }
    for (const quint32 window : windowsOfProcess(pid)) {
        if (m_x11.windowState(window).hidden && !m_x11.activateWindow(window)) {
            return EIO;
        }
    }
    return 0;
}

} // namespace platform
