#pragma once

#include "platform/workspace/RunningApplication.h"

namespace platform {

// What the desktop shows of one process, gathered from the display server
// and the accessibility bus, and the activation policy that follows from it.
struct WindowPresence
{
    // The display server manages a window of the process (an X11 client,
    // on XWayland too).
    bool hasManagedWindow = false;
    // One of those is a normal window, not a dock, desktop or tool window.
    bool hasNormalManagedWindow = false;
    // The process is an application on the accessibility bus.
    bool onAccessibilityBus = false;
    // Its accessibility application object shows a top-level window (a
    // frame, window or dialog). Asked only when the display server manages
    // no window of the process.
    bool hasAccessibleWindow = false;

    // Regular with a normal managed window; a process the display server
    // knows no window of (a Wayland client) is regular when the bus shows a
    // window of it. Accessory when it is on the bus otherwise, prohibited
    // when it is not. A process with managed windows is judged by those
    // alone, so what the bus says never changes an X11 client's policy.
    RunningApplication::ActivationPolicy activationPolicy() const;
};

} // namespace platform
