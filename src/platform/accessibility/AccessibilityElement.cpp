#include "platform/accessibility/AccessibilityElement.h"

#include "platform/accessibility/AccessibilityNode.h"

#include <QCoreApplication>
#include <QTimer>

namespace platform {

AccessibilityElement::AccessibilityElement(std::shared_ptr<AccessibilityNode> node)
    : m_node(std::move(node))
{}

std::optional<QVariant> AccessibilityElement::copyAttribute(const QString& name) const
{
    if (!m_node || name.isEmpty()) {
        return std::nullopt;
    }
    return m_node->copyAttribute(name);
}

std::optional<qint64> AccessibilityElement::attributeValueCount(const QString& name) const
{
    if (!m_node || name.isEmpty()) {
        return std::nullopt;
    }
    return m_node->attributeValueCount(name);
}

std::optional<QVariant> AccessibilityElement::copyAttributeValues(const QString& name, qint64 index,
                                                                  qint64 maxValues) const
{
    if (!m_node || name.isEmpty() || index < 0 || maxValues < 0) {
        return std::nullopt;
    }
    return m_node->copyAttributeValues(name, index, maxValues);
}

std::optional<qint64> AccessibilityNode::attributeValueCount(const QString& name)
{
    const std::optional<QVariant> value = copyAttribute(name);
    if (!value) {
        return std::nullopt;
    }
    return accessibilityElementListFromVariant(*value).size();
}

std::optional<QVariant> AccessibilityNode::copyAttributeValues(const QString& name, qint64 index,
                                                               qint64 maxValues)
{
    const std::optional<QVariant> value = copyAttribute(name);
    if (!value) {
        return std::nullopt;
    }
    const AccessibilityElementList all = accessibilityElementListFromVariant(*value);
    if (index >= all.size()) {
        return QVariant::fromValue(AccessibilityElementList());
    }
    return QVariant::fromValue(all.mid(index, std::min<qint64>(maxValues, all.size() - index)));
}

bool AccessibilityElement::performAction(const QString& name, ActionReplyHandler replied) const
{
    return m_node && !name.isEmpty() && m_node->performAction(name, std::move(replied));
}

std::optional<qint64> AccessibilityElement::pid() const
{
    if (!m_node) {
        return std::nullopt;
    }
    return m_node->pid();
}

bool AccessibilityElement::setMessagingTimeout(float seconds) const
{
    return m_node && m_node->setMessagingTimeout(seconds);
}

bool AccessibilityElement::operator==(const AccessibilityElement& other) const
{
    if (!m_node || !other.m_node) {
        return !m_node && !other.m_node;
    }
    return m_node == other.m_node || m_node->isSameElement(*other.m_node);
}

void deliverActionReply(ActionReplyHandler replied, ActionReply reply)
{
    if (!replied) {
        return;
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        replied(reply);
        return;
    }
    QTimer::singleShot(0, application, [replied = std::move(replied), reply] { replied(reply); });
}

AccessibilityElement accessibilityElementFromVariant(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<AccessibilityElement>()) {
        return {};
    }
    return value.value<AccessibilityElement>();
}

AccessibilityElementList accessibilityElementListFromVariant(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<AccessibilityElementList>()) {
        return {};
    }
    return value.value<AccessibilityElementList>();
}

} // namespace platform
