#include "platform/application/memory/MemoryActivation.h"

namespace platform {

bool MemoryActivation::setActivationPolicy(ActivationPolicy policy)
{
    if (refusePolicyChanges) {
        return false;
    }
    ++policyChanges;
    m_policy = policy;
    return true;
}

} // namespace platform
