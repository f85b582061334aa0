#include "platform/input/x11/X11PassiveGrabs.h"

#include <cstdlib>

namespace platform {
namespace {

// Waits for the answers to all requests (they travel together) and answers
// whether every one succeeded.
bool allSucceeded(xcb_connection_t* connection, const QList<xcb_void_cookie_t>& cookies)
{
    bool succeeded = true;
    for (const xcb_void_cookie_t& cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            succeeded = false;
            std::free(error);
        }
    }
    return succeeded;
}

} // namespace

QList<quint16> x11StatesWithLocks(quint16 modifiers, const X11ModifierMap& modifierMap,
                                  bool withShift)
{
    QList<quint16> states;
    const QList<quint16> locks = modifierMap.lockModifierCombinations();
    for (quint16 lock : locks) {
        states.append(modifiers | lock);
        if (withShift) {
            states.append(modifiers | X11ModifierMap::ShiftMask | lock);
        }
    }
    return states;
}

xcb_window_t x11RootWindow(xcb_connection_t* connection)
{
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

bool x11GrabKey(xcb_connection_t* connection, xcb_window_t root, quint8 keycode,
                const QList<quint16>& states)
{
    QList<xcb_void_cookie_t> cookies;
    for (quint16 state : states) {
        cookies.append(xcb_grab_key_checked(connection, 0, root, state, keycode,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    if (allSucceeded(connection, cookies)) {
        return true;
    }
    // Ungrabbing touches only this client's grabs, so the states that were
    // refused stay with whoever holds them.
    x11UngrabKey(connection, root, keycode, states);
    return false;
}

void x11UngrabKey(xcb_connection_t* connection, xcb_window_t root, quint8 keycode,
                  const QList<quint16>& states)
{
    for (quint16 state : states) {
        xcb_ungrab_key(connection, keycode, root, state);
    }
    xcb_flush(connection);
}

bool x11GrabButton(xcb_connection_t* connection, xcb_window_t root, quint8 button,
                   const QList<quint16>& states)
{
    constexpr quint16 eventMask = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
    QList<xcb_void_cookie_t> cookies;
    for (quint16 state : states) {
        cookies.append(xcb_grab_button_checked(connection, 0, root, eventMask, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE,
                                               XCB_CURSOR_NONE, button, state));
    }
    if (allSucceeded(connection, cookies)) {
        return true;
    }
    x11UngrabButton(connection, root, button, states);
    return false;
}

void x11UngrabButton(xcb_connection_t* connection, xcb_window_t root, quint8 button,
                     const QList<quint16>& states)
{
    for (quint16 state : states) {
        xcb_ungrab_button(connection, button, root, state);
    }
    xcb_flush(connection);
}

} // namespace platform
