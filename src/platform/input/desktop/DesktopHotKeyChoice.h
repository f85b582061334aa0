#pragma once

#include "platform/input/HotKeyService.h"

#include <QProcessEnvironment>
#include <QString>

namespace platform::DesktopHotKeyChoice {

// Whether hot keys must come from the desktop rather than from X11 key grabs:
// in a Wayland session (WAYLAND_DISPLAY set or XDG_SESSION_TYPE "wayland")
// grabs on XWayland see only what is typed into X11 windows.
bool needsDesktop(const QProcessEnvironment& environment);

// The mechanism for a Wayland desktop, from XDG_CURRENT_DESKTOP (a
// colon-separated list, "ubuntu:GNOME"), the version of the global shortcuts
// portal interface the session offers (0: none) and whether the program runs
// in a sandbox: on Plasma outside a sandbox KDE's own service (Plasma's
// portal binds no shortcuts for a program without a sandbox's application
// id); else the portal wherever it is offered; else GNOME's keyboard
// settings on GNOME; else a line for the compositor's configuration.
HotKeyMechanism choose(const QString& currentDesktop, uint portalVersion, bool sandboxed);

// Whether XDG_CURRENT_DESKTOP names KDE.
bool isKde(const QString& currentDesktop);

// Whether XDG_CURRENT_DESKTOP names GNOME.
bool isGnome(const QString& currentDesktop);

// A command line as one text for a shell (sway's exec) or for GNOME's
// command field (read like a shell's words): words with characters a shell
// treats specially are single-quoted.
QString commandLineText(const QStringList& command);

} // namespace platform::DesktopHotKeyChoice
