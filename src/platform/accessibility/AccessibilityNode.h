#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace platform {

// How an application answered an action it was sent.
enum class ActionReply
{
    Done,    // it performed the action, or is performing it (a modal dialog
             // the action opened is open) and answers other requests
    Refused, // it answered that it did not, or the element is gone
    NoReply  // no answer at all within the messaging timeout
};
using ActionReplyHandler = std::function<void(ActionReply)>;

// Calls replied (when set) with reply from the event loop, after the caller
// has returned; at once when there is no event loop.
void deliverActionReply(ActionReplyHandler replied, ActionReply reply);

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
    // For a list attribute ("AXChildren"): how many values it holds, and up
    // to maxValues of them from index on, so that a long menu can be read a
    // screenful at a time. The defaults read the whole list.
    virtual std::optional<qint64> attributeValueCount(const QString& name);
    virtual std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                        qint64 maxValues);
    // Sends an action ("AXPress") without waiting for the application, which
    // may answer only once a dialog the action opened has closed. Answers
    // false when the action cannot be sent (the element lacks it or is gone).
    // replied, when given, is called once on the main thread with the answer,
    // after performAction has returned.
    virtual bool performAction(const QString& name, ActionReplyHandler replied) = 0;
    // The process the element belongs to, when known.
    virtual std::optional<qint64> pid() const = 0;
    // The default timeout of every later request, in seconds. Only the
    // system-wide element accepts it.
    virtual bool setMessagingTimeout(float seconds) = 0;
    // Whether both nodes stand for the same element of the other application.
    virtual bool isSameElement(const AccessibilityNode& other) const = 0;
};

} // namespace platform
