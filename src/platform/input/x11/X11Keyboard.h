#pragma once

#include "platform/input/Event.h"
#include "platform/input/x11/X11ModifierMap.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QMutex>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon.h>

namespace platform {

// The keyboard of the application's X connection (Qt's own): its XKB keymap,
// the layout group currently locked and the modifier map, kept up to date
// while the program runs from the XKB new-keyboard, map and state events and
// the core mapping events that pass through Qt's event dispatch.
class X11Keyboard : public QAbstractNativeEventFilter
{
public:
    ~X11Keyboard() override;
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // The keyboard of the running QGuiApplication, set up on first use from the
    // main thread and kept until the application ends. nullptr when the
    // application does not run on an X server with XKB (offscreen tests), or
    // when it is first asked for from another thread.
    static X11Keyboard* instance();

    xcb_connection_t* connection() const { return m_connection; }

    // The character of an X key code with no modifier held, in the locked group.
    std::optional<QString> unmodifiedCharacter(quint8 xKeycode);
    // The text of an X key code with the given X modifier state, in the locked group.
    QString text(quint8 xKeycode, quint16 xModifierState);
    // The modifier map the server uses now.
    X11ModifierMap modifierMap();
    // The layout group currently locked.
    quint32 lockedGroup();
    // The keys that are down right now, asked from the server (one round trip).
    std::array<quint8, 32> pressedKeys();

    // The platform event of an X key press or release (see eventFromXcbKeyEvent),
    // with the keys down right now giving the sides of the held modifiers.
    Event eventFromKeyEvent(const xcb_key_press_event_t& event);

    // Calls the observer from the event loop after the keyboard mapping
    // changed (modifier map, keymap, a new keyboard); a burst of changes gives
    // one call. Observers are called in the order they were added; the owner
    // names the observer for removal. Main thread only.
    void addMappingObserver(const void* owner, std::function<void()> observer);
    void removeMappingObserver(const void* owner);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    explicit X11Keyboard(xcb_connection_t* connection);
    bool setUp();
    void selectKeyboardEvents();
    // Reads what changed on the server since the last call. Called with the mutex held.
    void refreshIfStale();
    void reloadKeymap();
    void reloadModifierMap();
    static void destroyInstance();
    void scheduleMappingNotification();
    void notifyMappingObservers();

    xcb_connection_t* m_connection = nullptr;
    quint8 m_xkbFirstEvent = 0;
    qint32 m_deviceId = -1;
    xkb_context* m_context = nullptr;

    QMutex m_mutex;
    xkb_keymap* m_keymap = nullptr;
    quint32 m_lockedGroup = 0;
    X11ModifierMap m_modifierMap;
    bool m_keymapStale = true;
    bool m_modifierMapStale = true;

    QList<std::pair<const void*, std::function<void()>>> m_mappingObservers;
    bool m_mappingNotificationPending = false;
};

} // namespace platform
