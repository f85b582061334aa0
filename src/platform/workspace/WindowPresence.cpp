#include "platform/workspace/WindowPresence.h"

namespace platform {

RunningApplication::ActivationPolicy WindowPresence::activationPolicy() const
{
    using Policy = RunningApplication::ActivationPolicy;
    if (hasManagedWindow ? hasNormalManagedWindow : hasAccessibleWindow) {
        return Policy::Regular;
    }
    return onAccessibilityBus ? Policy::Accessory : Policy::Prohibited;
}

} // namespace platform
