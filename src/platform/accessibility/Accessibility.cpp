#include "platform/accessibility/Accessibility.h"

#include "platform/InstalledInstance.h"
#include "platform/accessibility/atspi/AtspiAccessibility.h"

namespace platform {

Accessibility& Accessibility::current()
{
    return InstalledInstance<Accessibility>::get(
        []() -> std::unique_ptr<Accessibility> { return std::make_unique<AtspiAccessibility>(); });
}

void Accessibility::setCurrent(std::unique_ptr<Accessibility> accessibility)
{
    InstalledInstance<Accessibility>::set(std::move(accessibility));
}

MenuTree Accessibility::menuTree(qint64 pid, int maxItems)
{
    return readMenuTreeItemByItem(applicationElement(pid), maxItems);
}

std::shared_ptr<void> Accessibility::watchMenus(qint64, std::function<void()>)
{
    return nullptr;
}

} // namespace platform
