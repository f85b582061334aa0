#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace platform {

// The graphical session Trovix starts in, as its environment tells it. Trovix
// is an X11 client: in a Wayland session it works through XWayland, and what
// X11 cannot tell there comes from the accessibility bus and the desktop's
// own interfaces, which differ from desktop to desktop.
struct DisplaySession
{
    // The desktops whose ways of setting a global hot key differ.
    enum class Desktop
    {
        Other,
        Gnome,
        Kde,
        // sway and the other compositors built on wlroots.
        Wlroots
    };

    // A Wayland session: WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE says
    // "wayland".
    bool wayland = false;
    // An X display to work on (DISPLAY is set); in a Wayland session, the
    // compositor's XWayland.
    bool x11Display = false;
    // The user chose Qt's platform plugin (QT_QPA_PLATFORM is set).
    bool platformChosen = false;
    // From XDG_CURRENT_DESKTOP, else XDG_SESSION_DESKTOP; sway's own socket
    // (SWAYSOCK) tells sway where neither names it.
    Desktop desktop = Desktop::Other;

    static DisplaySession fromEnvironment(
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // The platform plugin Qt must use: "xcb" in a Wayland session with an X
    // display, where Qt would otherwise pick its Wayland plugin and leave the
    // triggers, the pop-up position and window activation without X11;
    // empty where Qt's own choice stands.
    QString requiredQtPlatform() const;

    // Trovix cannot start: a Wayland session without an X display.
    bool unusable() const { return wayland && !x11Display; }

    // What works in this session and how the hot keys are set up on its
    // desktop (or why Trovix cannot start), for the log and the notice;
    // empty outside a Wayland session.
    QString limitations() const;
};

} // namespace platform
