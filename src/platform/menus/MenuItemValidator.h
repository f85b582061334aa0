#pragma once

namespace platform {

class MenuItem;

// The target of menu items that decides, just before their menu opens, whether
// they are enabled; it may also retitle or mark them.
class MenuItemValidator
{
public:
    virtual ~MenuItemValidator();

    // Whether item should be enabled.
    virtual bool validateMenuItem(MenuItem& item) = 0;

protected:
    MenuItemValidator() = default;
    MenuItemValidator(const MenuItemValidator&) = default;
    MenuItemValidator& operator=(const MenuItemValidator&) = default;
};

} // namespace platform
