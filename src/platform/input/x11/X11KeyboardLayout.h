#pragma once

#include "platform/input/KeyboardLayout.h"

namespace platform {

// The layout of the X server's core keyboard, read through XKB on the
// application's X connection (see X11Keyboard). Without one it answers nothing.
class X11KeyboardLayout : public KeyboardLayout
{
public:
    X11KeyboardLayout() = default;

    std::optional<QString> characterForKeyCode(quint16 keyCode) const override;
};

} // namespace platform
