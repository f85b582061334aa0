#include "platform/input/x11/X11Keyboard.h"

#include "platform/input/x11/X11KeyEvents.h"
#include "platform/input/x11/XcbXkb.h"
#include "platform/input/x11/XkbKeyText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMutexLocker>
#include <QThread>
#include <cstdlib>
#include <memory>
#include <xkbcommon/xkbcommon-x11.h>

namespace platform {
namespace {

X11Keyboard* g_instance = nullptr;
// The application on whose connection setting up failed; not tried again.
const QCoreApplication* g_failedApplication = nullptr;

template <typename Reply>
struct FreeDeleter
{
    void operator()(Reply* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeDeleter<Reply>>;

// The common head of every XKB event.
struct XkbEventHead
{
    quint8 responseType;
    quint8 xkbType;
    quint16 sequence;
    xcb_timestamp_t time;
    quint8 deviceId;
};

constexpr quint16 xModifierBits = 0xFF;

} // namespace

X11Keyboard* X11Keyboard::instance()
{
    if (g_instance) {
        return g_instance;
    }
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application || application == g_failedApplication ||
        QThread::currentThread() != application->thread()) {
        return nullptr;
    }
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        g_failedApplication = application;
        return nullptr;
    }
    std::unique_ptr<X11Keyboard> keyboard(new X11Keyboard(x11->connection()));
    if (!keyboard->setUp()) {
        g_failedApplication = application;
        return nullptr;
    }
    application->installNativeEventFilter(keyboard.get());
    // Post routines run while the connection still exists.
    qAddPostRoutine(&X11Keyboard::destroyInstance);
    g_instance = keyboard.release();
    return g_instance;
}

void X11Keyboard::destroyInstance()
{
    delete g_instance;
    g_instance = nullptr;
}

X11Keyboard::X11Keyboard(xcb_connection_t* connection) : m_connection(connection) {}

X11Keyboard::~X11Keyboard()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

bool X11Keyboard::setUp()
{
    if (!xkb_x11_setup_xkb_extension(
            m_connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &m_xkbFirstEvent, nullptr)) {
        return false;
    }
    m_deviceId = xkb_x11_get_core_keyboard_device_id(m_connection);
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (m_deviceId < 0 || !m_context) {
        return false;
    }
    selectKeyboardEvents();
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return m_keymap != nullptr;
}

void X11Keyboard::selectKeyboardEvents()
{
    // Only the bits named in the "affect" masks change, so the selection Qt
    // made on the same connection for its own keyboard handling stays as it is.
    constexpr quint16 events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                               XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr quint16 mapParts =
        XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
        XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
        XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details = {};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = XCB_XKB_STATE_PART_GROUP_LOCK;
    details.stateDetails = XCB_XKB_STATE_PART_GROUP_LOCK;
    const xcb_void_cookie_t cookie = xcb_xkb_select_events_aux_checked(
        m_connection, XCB_XKB_ID_USE_CORE_KBD, events, 0, 0, mapParts, mapParts, &details);
    // A refused selection leaves the keymap as it was read at start.
    std::free(xcb_request_check(m_connection, cookie));
}

void X11Keyboard::refreshIfStale()
{
    if (m_keymapStale) {
        m_keymapStale = false;
        reloadKeymap();
    }
    if (m_modifierMapStale) {
        m_modifierMapStale = false;
        reloadModifierMap();
    }
}

void X11Keyboard::reloadKeymap()
{
    const qint32 deviceId = xkb_x11_get_core_keyboard_device_id(m_connection);
    if (deviceId >= 0) {
        m_deviceId = deviceId;
    }
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(m_context, m_connection, m_deviceId,
                                                        XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        return; // keep the keymap we had
    }
    xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    if (xkb_state* state = xkb_x11_state_new_from_device(m_keymap, m_connection, m_deviceId)) {
        m_lockedGroup = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_LOCKED);
        xkb_state_unref(state);
    }
}

void X11Keyboard::reloadModifierMap()
{
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const quint8 minKeycode = setup->min_keycode;
    const quint8 maxKeycode = setup->max_keycode;
    const xcb_get_modifier_mapping_cookie_t modifierCookie = xcb_get_modifier_mapping(m_connection);
    const xcb_get_keyboard_mapping_cookie_t keysymCookie =
        xcb_get_keyboard_mapping(m_connection, minKeycode, quint8(maxKeycode - minKeycode + 1));
    const ReplyPointer<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(m_connection, modifierCookie, nullptr));
    const ReplyPointer<xcb_get_keyboard_mapping_reply_t> keysyms(
        xcb_get_keyboard_mapping_reply(m_connection, keysymCookie, nullptr));
    if (!modifiers || !keysyms) {
        return; // keep the map we had
    }

    std::array<QList<quint8>, X11ModifierMap::ModifierCount> keycodesOfModifier;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    const int keycodeCount = xcb_get_modifier_mapping_keycodes_length(modifiers.get());
    for (int modifier = 0; modifier < X11ModifierMap::ModifierCount; ++modifier) {
        for (int i = 0; i < perModifier && modifier * perModifier + i < keycodeCount; ++i) {
            keycodesOfModifier[modifier].append(keycodes[modifier * perModifier + i]);
        }
    }

    const xcb_keysym_t* allKeysyms = xcb_get_keyboard_mapping_keysyms(keysyms.get());
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keysyms.get());
    const int perKeycode = keysyms->keysyms_per_keycode;
    const auto keysymsOfKeycode = [&](quint8 keycode) {
        QList<quint32> result;
        if (keycode < minKeycode || keycode > maxKeycode) {
            return result;
        }
        const int first = (keycode - minKeycode) * perKeycode;
        for (int i = first; i < first + perKeycode && i < keysymCount; ++i) {
            if (allKeysyms[i] != 0) {
                result.append(allKeysyms[i]);
            }
        }
        return result;
    };
    m_modifierMap = X11ModifierMap::fromServerMapping(keycodesOfModifier, keysymsOfKeycode);
}

std::optional<QString> X11Keyboard::unmodifiedCharacter(quint8 xKeycode)
{
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return unmodifiedCharacterForKey(m_keymap, xKeycode, m_lockedGroup);
}

QString X11Keyboard::text(quint8 xKeycode, quint16 xModifierState)
{
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return textForKey(m_keymap, xKeycode, xModifierState & xModifierBits, m_lockedGroup);
}

X11ModifierMap X11Keyboard::modifierMap()
{
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return m_modifierMap;
}

quint32 X11Keyboard::lockedGroup()
{
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return m_lockedGroup;
}

std::array<quint8, 32> X11Keyboard::pressedKeys()
{
    std::array<quint8, 32> keys = {};
    const ReplyPointer<xcb_query_keymap_reply_t> reply(
        xcb_query_keymap_reply(m_connection, xcb_query_keymap(m_connection), nullptr));
    if (reply) {
        std::copy(std::begin(reply->keys), std::end(reply->keys), keys.begin());
    }
    return keys;
}

Event X11Keyboard::eventFromKeyEvent(const xcb_key_press_event_t& event)
{
    const std::array<quint8, 32> keys = pressedKeys();
    QMutexLocker locker(&m_mutex);
    refreshIfStale();
    return eventFromXcbKeyEvent(event, m_keymap, m_modifierMap, keys);
}

void X11Keyboard::addMappingObserver(const void* owner, std::function<void()> observer)
{
    m_mappingObservers.append({owner, std::move(observer)});
}

void X11Keyboard::removeMappingObserver(const void* owner)
{
    m_mappingObservers.removeIf([owner](const auto& entry) { return entry.first == owner; });
}

void X11Keyboard::scheduleMappingNotification()
{
    if (m_mappingNotificationPending) {
        return;
    }
    m_mappingNotificationPending = true;
    // Observers make X requests of their own: never inside Qt's handling of
    // the X event. One call serves every mapping event that arrives before it runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (g_instance) {
                g_instance->notifyMappingObservers();
            }
        },
        Qt::QueuedConnection);
}

void X11Keyboard::notifyMappingObservers()
{
    m_mappingNotificationPending = false;
    // A copy: an observer may remove itself or another one.
    const auto observers = m_mappingObservers;
    for (const auto& entry : observers) {
        entry.second();
    }
}

bool X11Keyboard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    Q_UNUSED(result);
    if (eventType != "xcb_generic_event_t" || !message) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const quint8 type = event->response_type & 0x7f;
    QMutexLocker locker(&m_mutex);
    if (type == XCB_MAPPING_NOTIFY) {
        m_modifierMapStale = true;
        m_keymapStale = true;
        scheduleMappingNotification();
    } else if (type == m_xkbFirstEvent) {
        const auto* head = static_cast<const XkbEventHead*>(message);
        switch (head->xkbType) {
        case XCB_XKB_NEW_KEYBOARD_NOTIFY:
        case XCB_XKB_MAP_NOTIFY:
            m_keymapStale = true;
            m_modifierMapStale = true;
            scheduleMappingNotification();
            break;
        case XCB_XKB_STATE_NOTIFY:
            m_lockedGroup = static_cast<const xcb_xkb_state_notify_event_t*>(message)->lockedGroup;
            break;
        default:
            break;
        }
    }
    // Qt handles the same events for its own keyboard.
    return false;
}

} // namespace platform
