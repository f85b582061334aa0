#include "platform/menus/MenuDelegate.h"

namespace platform {

MenuDelegate::~MenuDelegate() = default;

void MenuDelegate::menuNeedsUpdate(Menu& /*menu*/) {}

bool MenuDelegate::menuHasKeyEquivalent(Menu& /*menu*/, const QString& /*key*/,
                                        ModifierFlags /*modifiers*/)
{
    return false;
}

} // namespace platform
