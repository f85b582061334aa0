#include "platform/accessibility/atspi/AtspiSystemWideNode.h"

#include <algorithm>
#include <atspi/atspi.h>
#include <cmath>

namespace platform {

bool AtspiSystemWideNode::setMessagingTimeout(float seconds)
{
    if (!(seconds > 0.0f)) {
        return false;
    }
    const double milliseconds = std::min(std::round(double(seconds) * 1000.0), 2147483647.0);
    // No start-up grace period: an application that has just appeared is
    // bounded like every other.
    atspi_set_timeout(static_cast<gint>(std::max(milliseconds, 1.0)), -1);
    return true;
}

bool AtspiSystemWideNode::isSameElement(const AccessibilityNode& other) const
{
    return dynamic_cast<const AtspiSystemWideNode*>(&other) != nullptr;
}

} // namespace platform
