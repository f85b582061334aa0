#include "platform/workspace/x11/EwmhConnection.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

namespace platform {

namespace {

struct FreeDeleter
{
    void operator()(void* pointer) const { std::free(pointer); }
};

template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// _NET_WM_STATE actions.
constexpr quint32 StateRemove = 0;
constexpr quint32 StateAdd = 1;
// Requests from pagers and taskbars, which window managers honour without
// focus-stealing prevention.
constexpr quint32 SourcePager = 2;
// The desktop number that stands for every desktop.
constexpr quint32 AllDesktops = 0xFFFFFFFF;
constexpr quint32 IconicState = 3;

} // namespace

EwmhConnection& EwmhConnection::shared()
{
    static EwmhConnection connection;
    return connection;
}

EwmhConnection::EwmhConnection()
{
    int screenNumber = 0;
    // Command-line modes run a QCoreApplication, which has no X connection.
    auto* guiApplication = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (auto* x11 = guiApplication
                        ? guiApplication->nativeInterface<QNativeInterface::QX11Application>()
                        : nullptr) {
        m_connection = x11->connection();
        screenNumber = 0;
    } else if (std::getenv("DISPLAY")) {
        m_connection = xcb_connect(nullptr, &screenNumber);
        m_ownsConnection = true;
        if (xcb_connection_has_error(m_connection)) {
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            m_ownsConnection = false;
        }
    }
    if (!m_connection) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        if (m_ownsConnection) {
            xcb_disconnect(m_connection);
        }
        m_connection = nullptr;
        return;
    }
    m_root = screens.data->root;
}

EwmhConnection::~EwmhConnection()
{
    if (m_ownsConnection && m_connection) {
        xcb_disconnect(m_connection);
    }
}

quint32 EwmhConnection::atom(const QByteArray& name) const
{
    const auto found = m_atoms.constFind(name);
    if (found != m_atoms.constEnd()) {
        return *found;
    }
    if (!m_connection) {
        return XCB_ATOM_NONE;
    }
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.constData());
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    const quint32 value = reply ? reply->atom : quint32(XCB_ATOM_NONE);
    if (value != XCB_ATOM_NONE) {
        m_atoms.insert(name, value);
    }
    return value;
}

namespace {

// The 32-bit values of a property reply; none for a missing or other one.
QList<quint32> listValues(xcb_connection_t* connection, xcb_get_property_cookie_t cookie)
{
    QList<quint32> values;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32) {
        return values;
    }
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    values.reserve(count);
    for (int i = 0; i < count; ++i) {
        values.append(data[i]);
    }
    return values;
}

} // namespace

QList<quint32> EwmhConnection::windowListProperty(quint32 window, const QByteArray& name) const
{
    const quint32 property = atom(name);
    if (!m_connection || property == XCB_ATOM_NONE) {
        return {};
    }
    return listValues(m_connection,
                      xcb_get_property(m_connection, 0, window, property, XCB_ATOM_ANY, 0, 4096));
}

QList<EwmhConnection::ClientWindow>
EwmhConnection::clientWindowsWithProcesses(std::optional<quint32>* active) const
{
    QList<quint32> windows;
    if (active) {
        active->reset();
        const quint32 activeAtom = atom("_NET_ACTIVE_WINDOW");
        const quint32 stackingAtom = atom("_NET_CLIENT_LIST_STACKING");
        const quint32 listAtom = atom("_NET_CLIENT_LIST");
        if (!m_connection) {
            return {};
        }
        // The three are asked together: one wait for the X server, not three.
        const auto ask = [this](quint32 property) {
            return xcb_get_property(m_connection, 0, m_root, property, XCB_ATOM_ANY, 0, 4096);
        };
        const xcb_get_property_cookie_t activeCookie = ask(activeAtom);
        const xcb_get_property_cookie_t stackingCookie = ask(stackingAtom);
        const xcb_get_property_cookie_t listCookie = ask(listAtom);
        const QList<quint32> activeValues = listValues(m_connection, activeCookie);
        if (!activeValues.isEmpty() && activeValues.first() != XCB_WINDOW_NONE) {
            *active = activeValues.first();
        }
        windows = listValues(m_connection, stackingCookie);
        const QList<quint32> mapped = listValues(m_connection, listCookie);
        if (windows.isEmpty()) {
            windows = mapped;
        }
    } else {
        windows = clientWindows();
    }
    const quint32 pid = atom("_NET_WM_PID");
    const quint32 state = atom("_NET_WM_STATE");
    const quint32 type = atom("_NET_WM_WINDOW_TYPE");
    // Interned now: isNormal compares with them.
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_WINDOW_TYPE_NORMAL",
                             "_NET_WM_WINDOW_TYPE_DIALOG"}) {
        atom(name);
    }
    QList<ClientWindow> clients;
    if (!m_connection || windows.isEmpty()) {
        return clients;
    }
    // Every request is sent before the first reply is waited for.
    struct Cookies
    {
        xcb_get_property_cookie_t pid, state, type;
    };
    QList<Cookies> cookies;
    cookies.reserve(windows.size());
    for (const quint32 window : windows) {
        cookies.append({xcb_get_property(m_connection, 0, window, pid, XCB_ATOM_ANY, 0, 1),
                        xcb_get_property(m_connection, 0, window, state, XCB_ATOM_ANY, 0, 4096),
                        xcb_get_property(m_connection, 0, window, type, XCB_ATOM_ANY, 0, 4096)});
    }
    clients.reserve(windows.size());
    for (qsizetype i = 0; i < windows.size(); ++i) {
        ClientWindow client;
        client.window = windows.at(i);
        const QList<quint32> pids = listValues(m_connection, cookies.at(i).pid);
        if (!pids.isEmpty() && pids.first() != 0) {
            client.pid = static_cast<qint64>(pids.first());
        }
        const QList<quint32> states = listValues(m_connection, cookies.at(i).state);
        client.normal = isNormal(states, listValues(m_connection, cookies.at(i).type));
        clients.append(client);
    }
    return clients;
}

QList<quint32> EwmhConnection::clientWindows() const
{
    QList<quint32> windows = windowListProperty(m_root, "_NET_CLIENT_LIST_STACKING");
    if (windows.isEmpty()) {
        windows = windowListProperty(m_root, "_NET_CLIENT_LIST");
    }
    return windows;
}

std::optional<quint32> EwmhConnection::activeWindow() const
{
    const QList<quint32> values = windowListProperty(m_root, "_NET_ACTIVE_WINDOW");
    if (values.isEmpty() || values.first() == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    return values.first();
}

std::optional<qint64> EwmhConnection::windowPid(quint32 window) const
{
    const QList<quint32> values = windowListProperty(window, "_NET_WM_PID");
    if (values.isEmpty() || values.first() == 0) {
        return std::nullopt;
    }
    return static_cast<qint64>(values.first());
}

EwmhConnection::WindowState EwmhConnection::windowState(quint32 window) const
{
    WindowState state;
    bool vertical = false;
    bool horizontal = false;
    for (const quint32 value : windowListProperty(window, "_NET_WM_STATE")) {
        if (value == atom("_NET_WM_STATE_HIDDEN")) {
            state.hidden = true;
        } else if (value == atom("_NET_WM_STATE_MAXIMIZED_VERT")) {
            vertical = true;
        } else if (value == atom("_NET_WM_STATE_MAXIMIZED_HORZ")) {
            horizontal = true;
        } else if (value == atom("_NET_WM_STATE_ABOVE")) {
            state.above = true;
        } else if (value == atom("_NET_WM_STATE_SKIP_TASKBAR")) {
            state.skipTaskbar = true;
        }
    }
    state.maximized = vertical && horizontal;
    return state;
}

bool EwmhConnection::isNormalWindow(quint32 window) const
{
    return isNormal(windowListProperty(window, "_NET_WM_STATE"),
                    windowListProperty(window, "_NET_WM_WINDOW_TYPE"));
}

bool EwmhConnection::isNormal(const QList<quint32>& states, const QList<quint32>& types) const
{
    if (states.contains(atom("_NET_WM_STATE_SKIP_TASKBAR"))) {
        return false;
    }
    return types.isEmpty() || types.contains(atom("_NET_WM_WINDOW_TYPE_NORMAL")) ||
           types.contains(atom("_NET_WM_WINDOW_TYPE_DIALOG"));
}

std::optional<quint32> EwmhConnection::frontWindowOfProcess(qint64 pid) const
{
    const std::optional<quint32> active = activeWindow();
    if (active && windowPid(*active) == pid) {
        return active;
    }
    const QList<quint32> windows = clientWindows();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (windowPid(*it) == pid) {
            return *it;
        }
    }
    return std::nullopt;
}

bool EwmhConnection::sendRootMessage(quint32 window, const QByteArray& type,
                                     const quint32 (&data)[5])
{
    const quint32 messageType = atom(type);
    if (!m_connection || messageType == XCB_ATOM_NONE) {
        return false;
    }
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof(event));
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = messageType;
    for (int i = 0; i < 5; ++i) {
        event.data.data32[i] = data[i];
    }
    const xcb_void_cookie_t cookie = xcb_send_event_checked(m_connection, 0, m_root,
                                                            XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT |
                                                                XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                                                            reinterpret_cast<const char*>(&event));
    XcbReply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie));
    return !error;
}

bool EwmhConnection::activateWindow(quint32 window)
{
    const quint32 data[5] = {SourcePager, XCB_CURRENT_TIME, 0, 0, 0};
    return sendRootMessage(window, "_NET_ACTIVE_WINDOW", data);
}

bool EwmhConnection::minimizeWindow(quint32 window)
{
    const quint32 data[5] = {IconicState, 0, 0, 0, 0};
    return sendRootMessage(window, "WM_CHANGE_STATE", data);
}

bool EwmhConnection::changeState(quint32 window, bool add, const QByteArray& first,
                                 const QByteArray& second)
{
    const quint32 data[5] = {add ? StateAdd : StateRemove, atom(first),
                             second.isEmpty() ? 0u : atom(second), SourcePager, 0};
    return sendRootMessage(window, "_NET_WM_STATE", data);
}

bool EwmhConnection::setMaximized(quint32 window, bool maximized)
{
    return changeState(window, maximized, "_NET_WM_STATE_MAXIMIZED_VERT",
                       "_NET_WM_STATE_MAXIMIZED_HORZ");
}

bool EwmhConnection::setKeepAbove(quint32 window, bool above)
{
    return changeState(window, above, "_NET_WM_STATE_ABOVE", QByteArray());
}

bool EwmhConnection::setSkipTaskbar(quint32 window, bool skip, bool mapped)
{
    if (mapped) {
        return changeState(window, skip, "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER");
    }
    return changeUnmappedState(window, skip,
                               {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
}

bool EwmhConnection::setOnAllDesktops(quint32 window, bool mapped)
{
    if (mapped) {
        const quint32 data[5] = {AllDesktops, SourcePager, 0, 0, 0};
        const bool moved = sendRootMessage(window, "_NET_WM_DESKTOP", data);
        return changeState(window, true, "_NET_WM_STATE_STICKY", QByteArray()) && moved;
    }
    const quint32 desktopAtom = atom("_NET_WM_DESKTOP");
    if (!m_connection || desktopAtom == XCB_ATOM_NONE) {
        return false;
    }
    const quint32 desktop = AllDesktops;
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, desktopAtom, XCB_ATOM_CARDINAL,
                        32, 1, &desktop);
    return changeUnmappedState(window, true, {"_NET_WM_STATE_STICKY"});
}

bool EwmhConnection::changeUnmappedState(quint32 window, bool add,
                                         std::initializer_list<const char*> names)
{
    const quint32 stateAtom = atom("_NET_WM_STATE");
    if (!m_connection || stateAtom == XCB_ATOM_NONE) {
        return false;
    }
    QList<quint32> states = windowListProperty(window, "_NET_WM_STATE");
    for (const char* name : names) {
        const quint32 state = atom(name);
        states.removeAll(state);
        if (add) {
            states << state;
        }
    }
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, stateAtom, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.constData());
    xcb_flush(m_connection);
    return true;
}

bool EwmhConnection::closeWindow(quint32 window)
{
    const quint32 data[5] = {XCB_CURRENT_TIME, SourcePager, 0, 0, 0};
    return sendRootMessage(window, "_NET_CLOSE_WINDOW", data);
}

std::optional<QByteArray> EwmhConnection::rootStringProperty(const QByteArray& name) const
{
    return windowStringProperty(m_root, name);
}

std::optional<QByteArray> EwmhConnection::windowStringProperty(quint32 window,
                                                               const QByteArray& name) const
{
    const quint32 property = atom(name);
    if (!m_connection || property == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(m_connection, 0, window, property, XCB_ATOM_ANY, 0, 4096);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

bool EwmhConnection::setRootStringProperty(const QByteArray& name, const QByteArray& value)
{
    const quint32 property = atom(name);
    if (!m_connection || property == XCB_ATOM_NONE) {
        return false;
    }
    const xcb_void_cookie_t cookie = xcb_change_property_checked(
        m_connection, XCB_PROP_MODE_REPLACE, m_root, property, XCB_ATOM_STRING, 8,
        static_cast<uint32_t>(value.size()), value.constData());
    XcbReply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie));
    return !error;
}

} // namespace platform
