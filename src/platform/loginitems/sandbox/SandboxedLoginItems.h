#pragma once

#include "platform/loginitems/LoginItems.h"

namespace platform {

// Inside an application sandbox the autostart folders the desktop reads are
// out of reach: an entry written there would start nothing, yet read back as
// "on". Here starting at login reads as off and cannot be switched, rather
// than claiming a state that does not hold.
class SandboxedLoginItems : public LoginItems
{
public:
    // Whether the program runs inside such a sandbox.
    static bool isSandboxed();

    std::optional<QList<LoginItem>> snapshot() override { return QList<LoginItem>(); }
    bool remove(const LoginItem&) override { return false; }
    std::optional<LoginItem> insert(const QString&) override { return std::nullopt; }
    // The sandbox's own way to start programs at login takes the helper's
    // place; it cannot be reached from here.
    bool hasHelper() const override { return true; }
    std::optional<bool> isHelperEnabled() override { return false; }
    bool canEnableHelper() const override { return false; }
    bool setHelperEnabled(bool) override { return false; }
};

} // namespace platform
