#include "platform/accessibility/Accessibility.h"

#include "platform/accessibility/atspi/AtspiAccessibility.h"

namespace platform {

namespace {

std::unique_ptr<Accessibility>& instance()
{
    static std::unique_ptr<Accessibility> accessibility;
    return accessibility;
}

} // namespace

Accessibility& Accessibility::current()
{
    if (!instance()) {
        instance() = std::make_unique<AtspiAccessibility>();
    }
    return *instance();
}

void Accessibility::setCurrent(std::unique_ptr<Accessibility> accessibility)
{
    instance() = std::move(accessibility);
}

} // namespace platform
