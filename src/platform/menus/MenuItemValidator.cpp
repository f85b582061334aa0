#include "platform/menus/MenuItemValidator.h"

namespace platform {

MenuItemValidator::~MenuItemValidator() = default;

} // namespace platform
