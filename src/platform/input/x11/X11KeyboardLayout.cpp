#include "platform/input/x11/X11KeyboardLayout.h"

#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/X11Keyboard.h"

namespace platform {

std::optional<QString> X11KeyboardLayout::characterForKeyCode(quint16 keyCode) const
{
    const std::optional<quint8> xKeycode = xKeycodeForVirtualKeyCode(keyCode);
    if (!xKeycode) {
        return std::nullopt;
    }
    X11Keyboard* keyboard = X11Keyboard::instance();
    if (!keyboard) {
        return std::nullopt;
    }
    return keyboard->unmodifiedCharacter(*xKeycode);
}

} // namespace platform
