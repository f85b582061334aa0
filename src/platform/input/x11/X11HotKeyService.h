#pragma once

#include "platform/input/HotKeyService.h"
#include "platform/input/x11/X11HotKeyGrabs.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

class X11Keyboard;

// Global hot keys on an X server: each registration is a passive key grab on
// the root window for every combination of the lock modifiers, made on Qt's
// own connection; its key presses and releases are taken out of Qt's event
// dispatch and delivered as hot key events from the event loop. The key's
// auto-repeat gives no further presses, whether the server reports repeats as
// repeated presses or as release and press pairs with one timestamp. A
// combination this program already holds is refused like another program's,
// and the grabs follow changes of the keyboard mapping (see X11HotKeyGrabs).
class X11HotKeyService : public HotKeyService, public QAbstractNativeEventFilter
{
public:
    // The service on the application's X connection; nothing when the
    // application does not run on an X server with XKB.
    static std::unique_ptr<X11HotKeyService> create();
    ~X11HotKeyService() override;

    bool isAvailable() const override { return true; }
    std::optional<HotKeyHandle> registerHotKey(quint16 keyCode, ModifierFlags modifiers,
                                               quint32 signature, quint32 identifier,
                                               HotKeyRefusal* refusal) override;
    void unregisterHotKey(HotKeyHandle handle) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Registration
    {
        HotKeyHandle handle = 0;
        quint8 keycode = 0;
        bool down = false;
        xcb_timestamp_t lastPressTime = 0;
        xcb_timestamp_t lastReleaseTime = 0;
    };

    X11HotKeyService(X11Keyboard* keyboard, xcb_window_t root);
    void deliverLater(const Event& event);
    void keyboardMappingChanged();

    X11Keyboard* m_keyboard;
    xcb_connection_t* m_connection;
    xcb_window_t m_root;
    X11HotKeyGrabs m_grabs;
    QList<Registration> m_registrations;
    HotKeyHandle m_lastHandle = 0;
};

} // namespace platform
