#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <initializer_list>
#include <optional>

struct xcb_connection_t;

namespace platform {

// The window manager's view of the desktop through the EWMH hints on an X
// connection: managed clients, the active window, a window's process and
// state, and the requests that activate, minimise, maximise, raise and close
// windows. Uses Qt's own connection when Qt runs on xcb, otherwise one of its
// own; without a display every query answers nothing and every request false.
class EwmhConnection
{
public:
    struct WindowState
    {
        bool hidden = false;
        bool maximized = false; // both directions
        bool above = false;
        bool skipTaskbar = false;
    };

    // The process-wide connection, opened on first use.
    static EwmhConnection& shared();

    EwmhConnection();
    ~EwmhConnection();
    EwmhConnection(const EwmhConnection&) = delete;
    EwmhConnection& operator=(const EwmhConnection&) = delete;

    bool isValid() const { return m_connection != nullptr; }

    // A managed client window, its process and whether it is normal (see
    // isNormalWindow).
    struct ClientWindow
    {
        quint32 window = 0;
        std::optional<qint64> pid;
        bool normal = false;
    };

    // Managed client windows, bottom to top when the window manager tells the
    // stacking order, in mapping order otherwise.
    QList<quint32> clientWindows() const;
    // The same with each window's process and kind, asked of the X server
    // for all windows at once rather than one request after another; with
    // active, the active window (see activeWindow) is asked along.
    QList<ClientWindow> clientWindowsWithProcesses(std::optional<quint32>* active = nullptr) const;
    std::optional<quint32> activeWindow() const;
    std::optional<qint64> windowPid(quint32 window) const;
    WindowState windowState(quint32 window) const;
    // A window with a taskbar entry: of type normal (or untyped) and not
    // skipping the taskbar.
    bool isNormalWindow(quint32 window) const;
    // The top-most managed window of a process, preferring the active one.
    std::optional<quint32> frontWindowOfProcess(qint64 pid) const;

    bool activateWindow(quint32 window);
    bool minimizeWindow(quint32 window);
    bool setMaximized(quint32 window, bool maximized);
    bool setKeepAbove(quint32 window, bool above);
    bool closeWindow(quint32 window);
    // Whether a window is left out of taskbars and pagers. A mapped window is
    // changed through the window manager; an unmapped one through its
    // _NET_WM_STATE, which the window manager reads when it maps the window.
    bool setSkipTaskbar(quint32 window, bool skip, bool mapped);
    // Puts a window on every desktop (sticky), the same way: through the
    // window manager when mapped, through its _NET_WM_DESKTOP and
    // _NET_WM_STATE when not.
    bool setOnAllDesktops(quint32 window, bool mapped);

    // A string property of the root window (e.g. AT_SPI_BUS).
    std::optional<QByteArray> rootStringProperty(const QByteArray& name) const;
    bool setRootStringProperty(const QByteArray& name, const QByteArray& value);
    // A string property of a window as stored (e.g. WM_CLASS, whose two
    // strings are separated by NUL); nothing when the window lacks it.
    std::optional<QByteArray> windowStringProperty(quint32 window, const QByteArray& name) const;

private:
    quint32 atom(const QByteArray& name) const;
    QList<quint32> windowListProperty(quint32 window, const QByteArray& name) const;
    bool isNormal(const QList<quint32>& states, const QList<quint32>& types) const;
    bool sendRootMessage(quint32 window, const QByteArray& type, const quint32 (&data)[5]);
    bool changeState(quint32 window, bool add, const QByteArray& first, const QByteArray& second);
    // Adds or removes states in the _NET_WM_STATE of an unmapped window.
    bool changeUnmappedState(quint32 window, bool add, std::initializer_list<const char*> names);

    xcb_connection_t* m_connection = nullptr;
    bool m_ownsConnection = false;
    quint32 m_root = 0;
    mutable QHash<QByteArray, quint32> m_atoms;
};

} // namespace platform
