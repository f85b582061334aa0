#pragma once

#include <QProcessEnvironment>
#include <QtGlobal>
#include <optional>

namespace platform {

// The process of the Wayland compositor: the one listening on the session's
// Wayland socket (WAYLAND_DISPLAY, a name in XDG_RUNTIME_DIR or a path), as
// the kernel tells a client that connects to it. Some compositors show on the
// accessibility bus with windows of their own (GNOME Shell's stage), and are
// no application to list. Nothing outside a Wayland session or when the
// socket cannot be reached.
std::optional<qint64> waylandCompositorProcess(
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

} // namespace platform
