#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace platform {

// The graphical session Trovix starts in, as its environment tells it. Trovix
// is an X11 client: in a Wayland session it works through XWayland, where
// only part of it can work.
struct DisplaySession
{
    // A Wayland session: WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE says
    // "wayland".
    bool wayland = false;
    // An X display to work on (DISPLAY is set); in a Wayland session, the
    // compositor's XWayland.
    bool x11Display = false;
    // The user chose Qt's platform plugin (QT_QPA_PLATFORM is set).
    bool platformChosen = false;

    static DisplaySession fromEnvironment(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // The platform plugin Qt must use: "xcb" in a Wayland session with an X
    // display, where Qt would otherwise pick its Wayland plugin and leave the
    // triggers, the pop-up position and window activation without X11;
    // empty where Qt's own choice stands.
    QString requiredQtPlatform() const;

    // Trovix cannot start: a Wayland session without an X display.
    bool unusable() const { return wayland && !x11Display; }

    // What works and what does not in this session (or why Trovix cannot
    // start), for the log and the notice; empty outside a Wayland session.
    QString limitations() const;
};

} // namespace platform
