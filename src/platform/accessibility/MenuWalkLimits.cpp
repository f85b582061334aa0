#include "platform/accessibility/MenuWalkLimits.h"

#include <algorithm>

namespace platform {

bool MenuWalkLimits::enter(const AccessibilityElement& menu, int depth)
{
    if (menu.isNull() || depth > DepthLimit || m_walked.size() >= MenuLimit || walked(menu)) {
        return false;
    }
    m_walked.append(menu);
    return true;
}

void MenuWalkLimits::markWalked(const AccessibilityElement& menu)
{
    if (!menu.isNull() && m_walked.size() < MenuLimit && !walked(menu)) {
        m_walked.append(menu);
    }
}

bool MenuWalkLimits::walked(const AccessibilityElement& menu) const
{
    // Handles to one node compare cheaply; a backend that hands out a new
    // node per request is asked whether both stand for the same element.
    return std::any_of(m_walked.cbegin(), m_walked.cend(),
                       [&menu](const AccessibilityElement& each) { return each == menu; });
}

} // namespace platform
