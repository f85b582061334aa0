#include "platform/input/x11/X11RightClickService.h"

#include "platform/input/x11/X11Keyboard.h"
#include "platform/input/x11/X11PassiveGrabs.h"

#include <QCoreApplication>

namespace platform {
namespace {

constexpr quint8 rightButton = 3;
constexpr quint16 xModifierBits = 0xFF;

} // namespace

std::unique_ptr<X11RightClickService> X11RightClickService::create()
{
    X11Keyboard* keyboard = X11Keyboard::instance();
    if (!keyboard) {
        return nullptr;
    }
    const xcb_window_t root = x11RootWindow(keyboard->connection());
    if (root == XCB_WINDOW_NONE) {
        return nullptr;
    }
    std::unique_ptr<X11RightClickService> service(new X11RightClickService(keyboard, root));
    QCoreApplication::instance()->installNativeEventFilter(service.get());
    return service;
}

X11RightClickService::X11RightClickService(X11Keyboard* keyboard, xcb_window_t root)
    : m_keyboard(keyboard), m_connection(keyboard->connection()), m_root(root)
{
    m_keyboard->addMappingObserver(this, [this] { keyboardMappingChanged(); });
}

X11RightClickService::~X11RightClickService()
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
        m_keyboard->removeMappingObserver(this);
        stop();
    }
}

void X11RightClickService::keyboardMappingChanged()
{
    if (m_modifier == 0) {
        return;
    }
    const X11ModifierMap modifierMap = m_keyboard->modifierMap();
    const std::optional<quint16> grabModifiers = modifierMap.grabModifiersForFlags(m_modifier);
    const QList<quint16> states =
        grabModifiers ? x11StatesWithLocks(*grabModifiers, modifierMap, true) : QList<quint16>();
    if (states == m_states) {
        return;
    }
    // Grabbed again for the new map. When that fails (the modifier has no key
    // now, or another program holds the clicks) right clicks go to the
    // applications until a later change makes the grab possible again.
    if (!m_states.isEmpty()) {
        x11UngrabButton(m_connection, m_root, rightButton, m_states);
        m_states.clear();
    }
    m_pressTaken = false;
    if (grabModifiers && *grabModifiers != 0 &&
        x11GrabButton(m_connection, m_root, rightButton, states)) {
        m_states = states;
    }
}

bool X11RightClickService::start(ModifierFlags modifier, Handler handler)
{
    stop();
    const X11ModifierMap modifierMap = m_keyboard->modifierMap();
    const std::optional<quint16> grabModifiers = modifierMap.grabModifiersForFlags(modifier);
    // Without a modifier the grab would take every right click.
    if (!grabModifiers || *grabModifiers == 0) {
        return false;
    }
    const QList<quint16> states = x11StatesWithLocks(*grabModifiers, modifierMap, true);
    if (!x11GrabButton(m_connection, m_root, rightButton, states)) {
        return false;
    }
    m_states = states;
    m_modifier = modifier;
    m_handler = std::move(handler);
    return true;
}

void X11RightClickService::stop()
{
    if (!m_states.isEmpty()) {
        x11UngrabButton(m_connection, m_root, rightButton, m_states);
    }
    m_states.clear();
    m_modifier = 0;
    m_handler = nullptr;
    m_pressTaken = false;
}

bool X11RightClickService::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr* result)
{
    Q_UNUSED(result);
    if (eventType != "xcb_generic_event_t" || !message || m_states.isEmpty()) {
        return false;
    }
    const auto* generic = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = generic->response_type & 0x7f;
    if (type != XCB_BUTTON_PRESS && type != XCB_BUTTON_RELEASE) {
        return false;
    }
    const auto* buttonEvent = static_cast<const xcb_button_press_event_t*>(message);
    if (buttonEvent->event != m_root || buttonEvent->detail != rightButton) {
        return false;
    }
    if (type == XCB_BUTTON_RELEASE) {
        // The release of a taken click belongs to the program too.
        return std::exchange(m_pressTaken, false);
    }
    if (!m_states.contains(buttonEvent->state & xModifierBits)) {
        return false;
    }
    m_pressTaken = true;
    Event event;
    event.type = Event::Type::RightMouseDown;
    event.modifierFlags = m_keyboard->modifierMap().modifierFlagsForState(buttonEvent->state);
    event.windowId = buttonEvent->event;
    event.locationInWindow = QPointF(buttonEvent->event_x, buttonEvent->event_y);
    event.screenLocation = QPointF(buttonEvent->root_x, buttonEvent->root_y);
    event.timestamp = buttonEvent->time / 1000.0;
    // The handler may open a menu, which runs an event loop of its own: never
    // inside Qt's handling of the X event.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [handler = m_handler, event] {
            if (handler) {
                handler(event);
            }
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace platform
