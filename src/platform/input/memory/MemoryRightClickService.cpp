#include "platform/input/memory/MemoryRightClickService.h"

namespace platform {

MemoryRightClickService::MemoryRightClickService(bool available) : m_available(available) {}

bool MemoryRightClickService::start(ModifierFlags modifier, Handler handler)
{
    ++m_startRequests;
    if (!m_available || m_refusing) {
        stop();
        return false;
    }
    m_running = true;
    m_modifier = modifier;
    m_handler = std::move(handler);
    return true;
}

void MemoryRightClickService::stop()
{
    m_running = false;
    m_modifier = 0;
    m_handler = nullptr;
}

bool MemoryRightClickService::click(ModifierFlags modifierFlags, QPointF screenLocation)
{
    // As on an X server: taken when exactly the modifier is held, or the
    // modifier and Shift; lock keys do not matter.
    constexpr ModifierFlags held = ModifierFlag::Shift | ModifierFlag::Control |
                                   ModifierFlag::Option | ModifierFlag::Command |
                                   ModifierFlag::Function;
    const ModifierFlags pressed = modifierFlags & held;
    if (!m_running || m_modifier == 0 ||
        (pressed != m_modifier && pressed != (m_modifier | ModifierFlag::Shift))) {
        return false;
    }
    Event event;
    event.type = Event::Type::RightMouseDown;
    event.modifierFlags = modifierFlags;
    event.screenLocation = screenLocation;
    if (m_handler) {
        const Handler handler = m_handler;
        handler(event);
    }
    return true;
}

} // namespace platform
