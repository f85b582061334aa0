#include "platform/accessibility/memory/MemoryElement.h"

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNames.h"

#include <QPointF>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace platform {

using namespace platform::accessibility;

MemoryElement::MemoryElement(std::shared_ptr<MemoryAccessibilityState> state,
                             std::shared_ptr<MemoryApplicationState> application, QString role)
    : m_state(std::move(state)), m_application(std::move(application)), m_role(std::move(role))
{}

void MemoryElement::setAttribute(const QString& name, const QVariant& value)
{
    if (value.isValid()) {
        m_attributes.insert(name, value);
    } else {
        m_attributes.remove(name);
    }
}

void MemoryElement::addChild(const std::shared_ptr<MemoryElement>& child)
{
    m_children.append(child);
}

void MemoryElement::vanishAfter(int requests)
{
    if (requests <= 0) {
        vanish();
    } else {
        m_requestsUntilVanishing = requests;
    }
}

void MemoryElement::vanish()
{
    m_vanished = true;
    for (const auto& child : std::as_const(m_children)) {
        child->vanish();
    }
}

QList<std::shared_ptr<MemoryElement>> MemoryElement::listedChildren()
{
    QList<std::shared_ptr<MemoryElement>> own = m_children;
    for (const auto& link : std::as_const(m_links)) {
        if (auto child = link.lock()) {
            own.append(child);
        }
    }
    const qint64 claimed = std::max<qint64>(m_claimedChildCount, own.size());
    const qsizetype listed = qsizetype(std::min<qint64>(claimed, MaximumMenuChildren));
    QList<std::shared_ptr<MemoryElement>> children = own.mid(0, listed);
    while (children.size() < listed) {
        const qsizetype madeUp = children.size() - own.size();
        if (madeUp >= m_madeUpChildren.size()) {
            auto child =
                std::make_shared<MemoryElement>(m_state, m_application, QString(MenuItemRole));
            child->setAttribute(QString(TitleAttribute),
                                QStringLiteral("Item %1").arg(children.size() + 1));
            child->setAttribute(QString(EnabledAttribute), true);
            // Shown in their menu, as the entries they stand for are.
            child->setAttribute(QString(PositionAttribute), QPointF());
            m_madeUpChildren.append(child);
        }
        children.append(m_madeUpChildren.at(madeUp));
    }
    return children;
}

qint64 MemoryElement::omittedChildCount() const
{
    const qint64 claimed =
        std::max<qint64>(m_claimedChildCount, m_children.size() + m_links.size());
    return std::max<qint64>(claimed - MaximumMenuChildren, 0);
}

bool MemoryElement::beginRequest(const QString& what)
{
    if (!sendRequest(what)) {
        return false;
    }
    const double cost = requestCost();
    const double timeout = m_state->messagingTimeout;
    const double waited = std::min(cost, timeout);
    m_state->elapsed += waited;
    if (m_state->sleeps && waited > 0) {
        QThread::usleep(static_cast<unsigned long>(std::lround(waited * 1e6)));
    }
    if (cost > timeout) {
        ++m_state->timedOutRequests;
        return false;
    }
    return true;
}

bool MemoryElement::sendRequest(const QString& what)
{
    ++m_state->requests;
    ++m_state->requestsByAttribute[what];
    if (m_vanished) {
        return false;
    }
    if (m_requestsUntilVanishing > 0 && --m_requestsUntilVanishing == 0) {
        m_requestsUntilVanishing = -1;
        vanish();
        return false;
    }
    return true;
}

double MemoryElement::requestCost() const
{
    return m_state->delay + m_delay + (m_application ? m_application->delay : 0.0);
}

std::optional<QVariant> MemoryElement::copyAttribute(const QString& name)
{
    if (!beginRequest(name) || m_failing.contains(name)) {
        return std::nullopt;
    }
    if (name == RoleAttribute) {
        return QVariant(m_role);
    }
    if (name == ChildrenAttribute) {
        if (m_role == ApplicationRole && m_menuBar) {
            return QVariant::fromValue(AccessibilityElementList{AccessibilityElement(m_menuBar)});
        }
        AccessibilityElementList children;
        for (const auto& child : listedChildren()) {
            children.append(AccessibilityElement(child));
        }
        return QVariant::fromValue(children);
    }
    if (name == OmittedChildCountAttribute) {
        return QVariant(omittedChildCount());
    }
    if (name == MenuBarAttribute) {
        if (!m_menuBar) {
            return std::nullopt;
        }
        return QVariant::fromValue(AccessibilityElement(m_menuBar));
    }
    if (name == PrimaryUIElementAttribute) {
        const auto primary = m_primary.lock();
        if (!primary) {
            return std::nullopt;
        }
        return QVariant::fromValue(AccessibilityElement(primary));
    }
    const auto found = m_attributes.constFind(name);
    if (found == m_attributes.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<qint64> MemoryElement::attributeValueCount(const QString& name)
{
    if (name != ChildrenAttribute || m_role == ApplicationRole) {
        return AccessibilityNode::attributeValueCount(name);
    }
    if (!beginRequest(name) || m_failing.contains(name)) {
        return std::nullopt;
    }
    return listedChildren().size();
}

std::optional<QVariant> MemoryElement::copyAttributeValues(const QString& name, qint64 index,
                                                           qint64 maxValues)
{
    if (name != ChildrenAttribute || m_role == ApplicationRole) {
        return AccessibilityNode::copyAttributeValues(name, index, maxValues);
    }
    if (!beginRequest(name) || m_failing.contains(name)) {
        return std::nullopt;
    }
    const QList<std::shared_ptr<MemoryElement>> listed = listedChildren();
    AccessibilityElementList children;
    for (qint64 i = index; i < listed.size() && i < index + maxValues; ++i) {
        children.append(AccessibilityElement(listed.at(qsizetype(i))));
    }
    return QVariant::fromValue(children);
}

bool MemoryElement::performAction(const QString& name, ActionReplyHandler replied)
{
    // Sent without waiting: the clock does not move. An element slower than
    // the timeout stands for an item that opens a modal dialog: performed
    // while its application keeps answering. An application slower than the
    // timeout performs it too, but its answer does not come in time.
    if (!sendRequest(name) || name != PressAction) {
        return false;
    }
    if (!m_attributes.value(EnabledAttribute).toBool()) {
        return false;
    }
    if (m_failing.contains(name)) {
        // The application answers that it did not perform it.
        deliverActionReply(std::move(replied), ActionReply::Refused);
        return true;
    }
    m_state->pressed.append(m_pressPath);
    const double applicationCost = m_state->delay + (m_application ? m_application->delay : 0.0);
    deliverActionReply(std::move(replied), applicationCost <= m_state->messagingTimeout
                                               ? ActionReply::Done
                                               : ActionReply::NoReply);
    return true;
}

std::optional<qint64> MemoryElement::pid() const
{
    if (!m_application || m_vanished) {
        return std::nullopt;
    }
    return m_application->pid;
}

bool MemoryElement::setMessagingTimeout(float seconds)
{
    if (m_application) {
        return false;
    }
    m_state->messagingTimeout = seconds;
    m_state->appliedTimeouts.append(seconds);
    return true;
}

bool MemoryElement::isSameElement(const AccessibilityNode& other) const
{
    return this == &other;
}

} // namespace platform
