#pragma once

#include "platform/accessibility/AccessibilityNode.h"

namespace platform {

// The desktop as a whole: it holds the messaging timeout that bounds every
// AT-SPI request of the process.
class AtspiSystemWideNode : public AccessibilityNode
{
public:
    std::optional<QVariant> copyAttribute(const QString&) override { return std::nullopt; }
    bool performAction(const QString&, ActionReplyHandler) override { return false; }
    std::optional<qint64> pid() const override { return std::nullopt; }
    bool setMessagingTimeout(float seconds) override;
    bool isSameElement(const AccessibilityNode& other) const override;
};

} // namespace platform
