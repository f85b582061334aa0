#include "platform/input/memory/MemoryHotKeyService.h"

#include "platform/input/VirtualKeyCodes.h"

#include <algorithm>

namespace platform {
namespace {

constexpr ModifierFlags heldModifierBits = ModifierFlag::Shift | ModifierFlag::Control |
                                           ModifierFlag::Option | ModifierFlag::Command |
                                           ModifierFlag::Function;

// What the desktop tells combinations apart by: the held modifiers, without
// Caps Lock, the side and keypad bits, and without flags the key carries by
// itself (Function on the F keys), as the X server's grabs do.
ModifierFlags heldModifiers(quint16 keyCode, ModifierFlags modifiers)
{
    return modifiers & heldModifierBits & ~intrinsicModifierFlagsForKeyCode(keyCode);
}

} // namespace

MemoryHotKeyService::MemoryHotKeyService(bool available) : m_available(available) {}

std::optional<HotKeyHandle>
MemoryHotKeyService::registerHotKey(quint16 keyCode, ModifierFlags modifiers, quint32 signature,
                                    quint32 identifier, HotKeyRefusal* refusal)
{
    ++m_requests;
    const auto refuse = [refusal](HotKeyRefusal reason) {
        if (refusal != nullptr) {
            *refusal = reason;
        }
        return std::nullopt;
    };
    modifiers = heldModifiers(keyCode, modifiers);
    if (!m_available) {
        return refuse(HotKeyRefusal::Unavailable);
    }
    if (!xKeycodeForVirtualKeyCode(keyCode)) {
        return refuse(HotKeyRefusal::NotInKeyboardMapping);
    }
    // The desktop gives a combination to one registration only.
    if (m_heldElsewhere.contains(qMakePair(keyCode, modifiers)) || isHeld(keyCode, modifiers)) {
        return refuse(HotKeyRefusal::HeldElsewhere);
    }
    Registration registration{++m_nextHandle, keyCode, modifiers, signature, identifier};
    m_registrations.append(registration);
    m_last = registration;
    return registration.handle;
}

void MemoryHotKeyService::unregisterHotKey(HotKeyHandle handle)
{
    m_registrations.removeIf(
        [handle](const Registration& registration) { return registration.handle == handle; });
}

void MemoryHotKeyService::holdElsewhere(quint16 keyCode, ModifierFlags modifiers)
{
    m_heldElsewhere.append(qMakePair(keyCode, heldModifiers(keyCode, modifiers)));
}

void MemoryHotKeyService::releaseElsewhere(quint16 keyCode, ModifierFlags modifiers)
{
    m_heldElsewhere.removeAll(qMakePair(keyCode, heldModifiers(keyCode, modifiers)));
}

void MemoryHotKeyService::changeKeyboardMapping()
{
    notifyKeyboardMappingChanged();
}

bool MemoryHotKeyService::isHeld(quint16 keyCode, ModifierFlags modifiers) const
{
    modifiers = heldModifiers(keyCode, modifiers);
    return std::any_of(
        m_registrations.cbegin(), m_registrations.cend(), [&](const Registration& registration) {
            return registration.keyCode == keyCode && registration.modifiers == modifiers;
        });
}

void MemoryHotKeyService::press(HotKeyHandle handle, ModifierFlags modifierFlags)
{
    Event event;
    event.type = Event::Type::SystemDefined;
    event.subtype = Event::HotKeyPressedSubtype;
    event.data1 = static_cast<qint64>(handle);
    event.modifierFlags = modifierFlags;
    for (const Registration& registration : std::as_const(m_registrations)) {
        if (registration.handle == handle) {
            event.keyCode = registration.keyCode;
        }
    }
    deliver(event);
}

void MemoryHotKeyService::release(HotKeyHandle handle, ModifierFlags modifierFlags)
{
    Event event;
    event.type = Event::Type::SystemDefined;
    event.subtype = Event::HotKeyReleasedSubtype;
    event.data1 = static_cast<qint64>(handle);
    event.modifierFlags = modifierFlags;
    deliver(event);
}

} // namespace platform
