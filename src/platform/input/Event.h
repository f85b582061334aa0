#pragma once

#include "platform/input/ModifierFlags.h"

#include <QPointF>
#include <QString>
#include <QtGlobal>

namespace platform {

// One input event as the program's event handling sees it: keys, hot key
// presses and releases delivered by the hot key service, mouse buttons and the
// scroll wheel.
struct Event
{
    enum class Type : int
    {
        LeftMouseDown = 1,
        LeftMouseUp = 2,
        RightMouseDown = 3,
        RightMouseUp = 4,
        MouseMoved = 5,
        KeyDown = 10,
        KeyUp = 11,
        FlagsChanged = 12,
        SystemDefined = 14,
        ScrollWheel = 22,
    };

    // Subtypes of a system-defined event: a registered hot key was pressed or
    // released; data1 then holds the registration handle.
    static constexpr qint16 HotKeyPressedSubtype = 6;
    static constexpr qint16 HotKeyReleasedSubtype = 9;

    // The key code of a key that has no virtual key code.
    static constexpr quint16 NoKeyCode = 0xFFFF;

    Type type = Type::KeyDown;
    qint16 subtype = 0;
    // Virtual key code (see VirtualKeyCodes.h).
    quint16 keyCode = NoKeyCode;
    ModifierFlags modifierFlags = 0;
    // The text the key typed, and the text it types with no modifier but Shift.
    QString characters;
    QString charactersIgnoringModifiers;
    bool isARepeat = false;
    qint64 data1 = 0;
    // The X window the event was reported for (0: none) and the position in it.
    quint32 windowId = 0;
    QPointF locationInWindow;
    // The position on the screen (root window).
    QPointF screenLocation;
    // Seconds, on the clock of the source of the event.
    double timestamp = 0;
};

} // namespace platform
