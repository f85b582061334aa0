#pragma once

#include "platform/input/x11/X11ModifierMap.h"

#include <QList>
#include <xcb/xcb.h>

namespace platform {

// Passive grabs on the root window that are made, and undone, as one: a key or
// a pointer button together with a list of X modifier states. The grabs are
// checked requests; when the server refuses any of them (BadAccess: another
// client holds that combination) none of the list stays grabbed. Events of
// the grabs are reported to the root window, and neither the pointer nor the
// keyboard is ever frozen by them.

// The modifier state with every combination of the lock modifiers added, so
// that the grabs work whatever locks are on; with withShift also the same
// states with Shift added.
QList<quint16> x11StatesWithLocks(quint16 modifiers, const X11ModifierMap& modifierMap,
                                  bool withShift = false);

// The root window of the connection's first screen.
xcb_window_t x11RootWindow(xcb_connection_t* connection);

bool x11GrabKey(xcb_connection_t* connection, xcb_window_t root, quint8 keycode,
                const QList<quint16>& states);
void x11UngrabKey(xcb_connection_t* connection, xcb_window_t root, quint8 keycode,
                  const QList<quint16>& states);

// Grabs report presses and releases of the button.
bool x11GrabButton(xcb_connection_t* connection, xcb_window_t root, quint8 button,
                   const QList<quint16>& states);
void x11UngrabButton(xcb_connection_t* connection, xcb_window_t root, quint8 button,
                     const QList<quint16>& states);

} // namespace platform
