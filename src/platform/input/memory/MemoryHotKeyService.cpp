#include "platform/input/memory/MemoryHotKeyService.h"

namespace platform {
namespace {

constexpr ModifierFlags heldModifierBits = ModifierFlag::Shift | ModifierFlag::Control |
                                           ModifierFlag::Option | ModifierFlag::Command |
                                           ModifierFlag::Function;

} // namespace

MemoryHotKeyService::MemoryHotKeyService(bool available) : m_available(available) {}

std::optional<HotKeyHandle> MemoryHotKeyService::registerHotKey(quint16 keyCode,
                                                                ModifierFlags modifiers,
                                                                quint32 signature,
                                                                quint32 identifier)
{
    ++m_requests;
    modifiers &= heldModifierBits;
    if (!m_available || m_heldElsewhere.contains(qMakePair(keyCode, modifiers))) {
        return std::nullopt;
    }
    for (const Registration& registration : std::as_const(m_registrations)) {
        // The desktop gives a combination to one registration only.
        if (registration.keyCode == keyCode && registration.modifiers == modifiers) {
            return std::nullopt;
        }
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
    m_heldElsewhere.append(qMakePair(keyCode, modifiers & heldModifierBits));
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
