#include "platform/application/x11/X11Activation.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <xcb/xcb.h>

namespace platform {
namespace {

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

xcb_window_t rootWindow(xcb_connection_t* c)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

void sendRootMessage(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type,
                     const uint32_t (&data)[5])
{
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::memcpy(event.data.data32, data, sizeof(data));
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Windows that take part in the taskbar: real top-level windows, not menus,
// tool tips or the invisible helpers Qt keeps.
bool isTaskbarCandidate(const QWidget* widget)
{
    if (widget == nullptr || !widget->isWindow()) {
        return false;
    }
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

// While a window is unmapped the window manager reads _NET_WM_STATE when it
// maps it; afterwards only a client message changes it.
void applyToUnmappedWindow(xcb_connection_t* c, xcb_window_t window, bool skip)
{
    const xcb_atom_t stateAtom = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = internAtom(c, "_NET_WM_STATE_SKIP_PAGER");
    QList<xcb_atom_t> atoms;
    const auto cookie = xcb_get_property(c, 0, window, stateAtom, XCB_ATOM_ATOM, 0, 1024);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr)) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            for (uint32_t i = 0; i < reply->value_len; ++i) {
                atoms.append(values[i]);
            }
        }
        std::free(reply);
    }
    atoms.removeAll(skipTaskbar);
    atoms.removeAll(skipPager);
    if (skip) {
        atoms << skipTaskbar << skipPager;
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, stateAtom, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.constData());
}

void applyToMappedWindow(xcb_connection_t* c, xcb_window_t window, bool skip)
{
    constexpr uint32_t remove = 0;
    constexpr uint32_t add = 1;
    constexpr uint32_t sourceApplication = 1;
    const uint32_t data[5] = {skip ? add : remove, internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                              internAtom(c, "_NET_WM_STATE_SKIP_PAGER"), sourceApplication, 0};
    sendRootMessage(c, window, internAtom(c, "_NET_WM_STATE"), data);
}

} // namespace

X11Activation::X11Activation()
{
    if (qApp != nullptr) {
        qApp->installEventFilter(this);
    }
}

X11Activation::~X11Activation()
{
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool X11Activation::isAvailable()
{
    return qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") &&
           connection() != nullptr;
}

bool X11Activation::setActivationPolicy(ActivationPolicy policy)
{
    xcb_connection_t* c = connection();
    if (c == nullptr || xcb_connection_has_error(c) != 0) {
        return false;
    }
    m_policy = policy;
    const bool skip = policy == ActivationPolicy::Accessory;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!isTaskbarCandidate(widget) || !widget->testAttribute(Qt::WA_WState_Created)) {
            continue;
        }
        const auto window = static_cast<xcb_window_t>(widget->winId());
        if (widget->isVisible()) {
            applyToMappedWindow(c, window, skip);
        } else {
            applyToUnmappedWindow(c, window, skip);
        }
    }
    xcb_flush(c);
    return true;
}

void X11Activation::activateIgnoringOtherApps()
{
    QWidget* front = QApplication::activeWindow();
    if (front == nullptr) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (isTaskbarCandidate(widget) && widget->isVisible()) {
                front = widget;
            }
        }
    }
    if (front == nullptr) {
        return;
    }
    front->raise();
    xcb_connection_t* c = connection();
    if (c == nullptr) {
        front->activateWindow();
        return;
    }
    // Source 2 (a pager) tells the window manager the user asked for it, so
    // focus-stealing prevention lets the window through.
    constexpr uint32_t sourcePager = 2;
    const uint32_t data[5] = {sourcePager, XCB_CURRENT_TIME, 0, 0, 0};
    sendRootMessage(c, static_cast<xcb_window_t>(front->winId()),
                    internAtom(c, "_NET_ACTIVE_WINDOW"), data);
    xcb_flush(c);
}

void X11Activation::beep()
{
    QApplication::beep();
}

bool X11Activation::eventFilter(QObject* watched, QEvent* event)
{
    // A window about to be shown is created but not yet mapped: mark it so
    // that the window manager never lists it in the taskbar in accessory mode.
    if (event->type() == QEvent::Show && m_policy == ActivationPolicy::Accessory) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (isTaskbarCandidate(widget) && widget->testAttribute(Qt::WA_WState_Created)) {
            if (xcb_connection_t* c = connection()) {
                applyToUnmappedWindow(c, static_cast<xcb_window_t>(widget->winId()), true);
                xcb_flush(c);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
