#include "platform/input/ModifierKeyState.h"

#include "platform/input/memory/MemoryModifierKeyState.h"
#include "platform/input/x11/X11Keyboard.h"
#include "platform/input/x11/X11ModifierKeyState.h"

namespace platform {
namespace {

std::unique_ptr<ModifierKeyState>& installed()
{
    static std::unique_ptr<ModifierKeyState> state;
    return state;
}

} // namespace

ModifierKeyState::~ModifierKeyState() = default;

ModifierKeyState& ModifierKeyState::current()
{
    auto& state = installed();
    if (!state) {
        if (X11Keyboard::instance()) {
            state = std::make_unique<X11ModifierKeyState>();
        } else {
            state = std::make_unique<MemoryModifierKeyState>();
        }
    }
    return *state;
}

void ModifierKeyState::setCurrent(std::unique_ptr<ModifierKeyState> state)
{
    installed() = std::move(state);
}

} // namespace platform
