#pragma once

#include "platform/input/RightClickService.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

class X11Keyboard;

// Right clicks with a modifier on an X server: button 3 is grabbed passively
// on the root window only with the modifier (and with the modifier and Shift),
// for every combination of the lock modifiers, so clicks without it go to the
// applications directly. The grabs neither freeze the pointer nor the
// keyboard; the server hands the program the pointer only from the taken
// press to its release. The grabs follow changes of the keyboard mapping.
class X11RightClickService : public RightClickService, public QAbstractNativeEventFilter
{
public:
    // The service on the application's X connection; nothing when the
    // application does not run on an X server with XKB.
    static std::unique_ptr<X11RightClickService> create();
    ~X11RightClickService() override;

    bool start(ModifierFlags modifier, Handler handler) override;
    void stop() override;
    bool isRunning() const override { return !m_states.isEmpty(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    X11RightClickService(X11Keyboard* keyboard, xcb_window_t root);
    void keyboardMappingChanged();

    X11Keyboard* m_keyboard;
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    // The X modifier states grabbed; empty while stopped.
    QList<quint16> m_states;
    // The modifier asked for at start; 0 while stopped.
    ModifierFlags m_modifier = 0;
    Handler m_handler;
    bool m_pressTaken = false;
};

} // namespace platform
