#pragma once

#include "platform/accessibility/AccessibilityNode.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace platform {

// A handle to one element of another application's user interface: cheap to
// copy, shared by everything that holds it. A default-constructed handle is
// null; every request on it reads as absent.
//
// Attribute values come back as QVariant: strings, bools, integers, QPointF
// for "AXPosition", an AccessibilityElement for single elements ("AXMenuBar",
// "AXMenuItemPrimaryUIElement") and an AccessibilityElementList for arrays
// ("AXChildren").
class AccessibilityElement
{
public:
    AccessibilityElement() = default;
    explicit AccessibilityElement(std::shared_ptr<AccessibilityNode> node);

    bool isNull() const { return !m_node; }
    explicit operator bool() const { return !isNull(); }

    // One attribute, or nothing when it is missing or the request failed.
    std::optional<QVariant> copyAttribute(const QString& name) const;
    // For a list attribute: its length, and up to maxValues values from
    // index on (see AccessibilityNode).
    std::optional<qint64> attributeValueCount(const QString& name) const;
    std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                qint64 maxValues) const;
    // Sends the action without waiting for the application; false when it
    // cannot be sent. replied, when given, later receives the answer (see
    // AccessibilityNode::performAction).
    bool performAction(const QString& name, ActionReplyHandler replied = {}) const;
    // The process identifier of the element's application, when known.
    std::optional<qint64> pid() const;
    // Sets the messaging timeout of requests (system-wide element only).
    bool setMessagingTimeout(float seconds) const;

    // Same element of the same application; two null handles are equal.
    bool operator==(const AccessibilityElement& other) const;

    const std::shared_ptr<AccessibilityNode>& node() const { return m_node; }

private:
    std::shared_ptr<AccessibilityNode> m_node;
};

using AccessibilityElementList = QList<AccessibilityElement>;

// Reads an element or an element list out of an attribute value; a value of
// another type gives a null element or an empty list.
AccessibilityElement accessibilityElementFromVariant(const QVariant& value);
AccessibilityElementList accessibilityElementListFromVariant(const QVariant& value);

} // namespace platform

Q_DECLARE_METATYPE(platform::AccessibilityElement)
