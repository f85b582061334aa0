#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace platform {

// One element of another application's user interface as a backend knows it.
// AccessibilityElement is the handle the rest of the program holds; backends
// implement this. Every request is bounded by the messaging timeout and every
// failure reads as an absent value.
class AccessibilityNode
{
public:
    virtual ~AccessibilityNode() = default;

    // The value of one attribute ("AXTitle", "AXChildren" ...), or nothing when
    // the element does not have it or does not answer.
    virtual std::optional<QVariant> copyAttribute(const QString& name) = 0;
    // Performs an action ("AXPress"); answers whether the element accepted it.
    virtual bool performAction(const QString& name) = 0;
    // The process the element belongs to, when known.
    virtual std::optional<qint64> pid() const = 0;
    // The default timeout of every later request, in seconds. Only the
    // system-wide element accepts it.
    virtual bool setMessagingTimeout(float seconds) = 0;
    // Whether both nodes stand for the same element of the other application.
    virtual bool isSameElement(const AccessibilityNode& other) const = 0;
};

} // namespace platform
