#pragma once

#include "platform/input/Event.h"

// Implemented by the application's delegate: takes hot key presses (and key
// presses that match a hot key) from the application object.
class QXHotKeyHandler
{
public:
    virtual ~QXHotKeyHandler() = default;

    // Answers whether the event was a hot key and has been handled. May set
    // *repeat to ask for repetition while the key is held; the caller sets it
    // to false before the call.
    virtual bool handleKeyDownEvent(const platform::Event& event, bool* repeat) = 0;

protected:
    QXHotKeyHandler() = default;
    QXHotKeyHandler(const QXHotKeyHandler&) = default;
    QXHotKeyHandler& operator=(const QXHotKeyHandler&) = default;
};
