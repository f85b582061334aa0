#include "platform/accessibility/atspi/AtspiSystemWideNode.h"

#include "platform/accessibility/atspi/AtspiRequests.h"

#include <algorithm>
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
    atspi::setMessagingTimeoutMs(static_cast<int>(std::max(milliseconds, 1.0)));
    return true;
}

bool AtspiSystemWideNode::isSameElement(const AccessibilityNode& other) const
{
    return dynamic_cast<const AtspiSystemWideNode*>(&other) != nullptr;
}

} // namespace platform
