#include "platform/input/x11/X11HotKeyService.h"

#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/X11Keyboard.h"
#include "platform/input/x11/X11PassiveGrabs.h"

#include <QCoreApplication>
#include <QPointer>

namespace platform {
namespace {

// Auto-repeat sends presses far more often than this. A press that comes
// longer after the last one while the key counts as down follows a release
// that never reached the program (the key was let go after a menu of the
// program had given up the keyboard), so it is a new press.
constexpr xcb_timestamp_t longestRepeatIntervalMilliseconds = 1500;

constexpr ModifierFlags heldModifierBits = ModifierFlag::Shift | ModifierFlag::Control |
                                           ModifierFlag::Option | ModifierFlag::Command |
                                           ModifierFlag::Function;

} // namespace

std::unique_ptr<X11HotKeyService> X11HotKeyService::create()
{
    X11Keyboard* keyboard = X11Keyboard::instance();
    if (!keyboard) {
        return nullptr;
    }
    const xcb_window_t root = x11RootWindow(keyboard->connection());
    if (root == XCB_WINDOW_NONE) {
        return nullptr;
    }
    std::unique_ptr<X11HotKeyService> service(new X11HotKeyService(keyboard, root));
    QCoreApplication::instance()->installNativeEventFilter(service.get());
    return service;
}

X11HotKeyService::X11HotKeyService(X11Keyboard* keyboard, xcb_window_t root)
    : m_keyboard(keyboard), m_connection(keyboard->connection()), m_root(root),
      m_grabs(
          [this](quint8 keycode, const QList<quint16>& states) {
              return x11GrabKey(m_connection, m_root, keycode, states);
          },
          [this](quint8 keycode, const QList<quint16>& states) {
              x11UngrabKey(m_connection, m_root, keycode, states);
          })
{
    m_keyboard->addMappingObserver(this, [this] { keyboardMappingChanged(); });
}

X11HotKeyService::~X11HotKeyService()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
        m_keyboard->removeMappingObserver(this);
        m_grabs.clear();
    }
}

std::optional<HotKeyHandle> X11HotKeyService::registerHotKey(quint16 keyCode,
                                                             ModifierFlags modifiers,
                                                             quint32 signature, quint32 identifier,
                                                             HotKeyRefusal* refusal)
{
    Q_UNUSED(signature);
    Q_UNUSED(identifier);
    const auto refuse = [refusal](HotKeyRefusal reason) {
        if (refusal != nullptr) {
            *refusal = reason;
        }
        return std::nullopt;
    };
    const std::optional<quint8> keycode = xKeycodeForVirtualKeyCode(keyCode);
    if (!keycode) {
        return refuse(HotKeyRefusal::NotInKeyboardMapping);
    }
    // Flags the key carries by itself (Function on the F keys, say) are not
    // held modifiers.
    const ModifierFlags held =
        modifiers & heldModifierBits & ~intrinsicModifierFlagsForKeyCode(keyCode);
    const X11ModifierMap map = m_keyboard->modifierMap();
    if (!map.grabModifiersForFlags(held)) {
        return refuse(HotKeyRefusal::NotInKeyboardMapping);
    }
    const HotKeyHandle handle = m_lastHandle + 1;
    if (!m_grabs.add(handle, *keycode, held, map)) {
        return refuse(HotKeyRefusal::HeldElsewhere);
    }
    m_lastHandle = handle;
    Registration registration;
    registration.handle = handle;
    registration.keycode = *keycode;
    m_registrations.append(registration);
    return handle;
}

void X11HotKeyService::unregisterHotKey(HotKeyHandle handle)
{
    for (qsizetype i = 0; i < m_registrations.size(); ++i) {
        if (m_registrations[i].handle == handle) {
            m_grabs.remove(handle);
            m_registrations.removeAt(i);
            return;
        }
    }
}

void X11HotKeyService::keyboardMappingChanged()
{
    // Num Lock, Alt or Super may sit on another X modifier now: grabs made for
    // the old map would miss the presses. Then the program may try what was
    // refused before.
    m_grabs.remap(m_keyboard->modifierMap());
    notifyKeyboardMappingChanged();
}

void X11HotKeyService::deliverLater(const Event& event)
{
    // The program may open a menu for the event, which runs an event loop of
    // its own: never inside Qt's handling of the X event.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [event] { deliver(event); }, Qt::QueuedConnection);
}

bool X11HotKeyService::nativeEventFilter(const QByteArray& eventType, void* message,
                                         qintptr* result)
{
    Q_UNUSED(result);
    if (eventType != "xcb_generic_event_t" || !message || m_registrations.isEmpty()) {
        return false;
    }
    const auto* generic = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = generic->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto* keyEvent = static_cast<const xcb_key_press_event_t*>(message);
    const bool onRoot = keyEvent->event == m_root;

    if (type == XCB_KEY_PRESS) {
        if (!onRoot) {
            return false;
        }
        const HotKeyHandle handle = m_grabs.handleFor(keyEvent->detail, keyEvent->state);
        for (Registration& registration : m_registrations) {
            if (handle == 0 || registration.handle != handle) {
                continue;
            }
            const bool repeat = (registration.down && keyEvent->time - registration.lastPressTime <=
                                                          longestRepeatIntervalMilliseconds) ||
                                keyEvent->time == registration.lastReleaseTime;
            registration.down = true;
            registration.lastPressTime = keyEvent->time;
            if (!repeat) {
                Event event = m_keyboard->eventFromKeyEvent(*keyEvent);
                event.type = Event::Type::SystemDefined;
                event.subtype = Event::HotKeyPressedSubtype;
                event.data1 = static_cast<qint64>(registration.handle);
                deliverLater(event);
            }
            return true;
        }
        return false;
    }

    // The release may reach another window of the program (a menu that
    // grabbed the keyboard meanwhile); it ends the press all the same.
    for (Registration& registration : m_registrations) {
        if (registration.keycode != keyEvent->detail || !registration.down) {
            continue;
        }
        registration.down = false;
        registration.lastReleaseTime = keyEvent->time;
        Event event = m_keyboard->eventFromKeyEvent(*keyEvent);
        event.type = Event::Type::SystemDefined;
        event.subtype = Event::HotKeyReleasedSubtype;
        event.data1 = static_cast<qint64>(registration.handle);
        deliverLater(event);
        return onRoot;
    }
    return false;
}

} // namespace platform
