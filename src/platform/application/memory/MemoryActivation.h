#pragma once

#include "platform/application/Activation.h"

namespace platform {

// Remembers what was asked of it; tests read the counters and can make the
// desktop refuse a policy change.
class MemoryActivation : public Activation
{
public:
    ActivationPolicy activationPolicy() const override { return m_policy; }
    bool setActivationPolicy(ActivationPolicy policy) override;
    void activateIgnoringOtherApps() override { ++activations; }
    void beep() override { ++beeps; }

    bool refusePolicyChanges = false;
    int policyChanges = 0;
    int activations = 0;
    int beeps = 0;

private:
    ActivationPolicy m_policy = ActivationPolicy::Regular;
};

} // namespace platform
