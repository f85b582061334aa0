#include "platform/accessibility/memory/MemoryElement.h"

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNames.h"

#include <QThread>
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

bool MemoryElement::beginRequest(const QString& what)
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
    const double cost = m_state->delay + m_delay + (m_application ? m_application->delay : 0.0);
    const double timeout = m_state->messagingTimeout;
    const double waited = std::min(cost, timeout);
    m_state->elapsed += waited;
    if (m_state->sleeps && waited > 0) {
        QThread::usleep(static_cast<unsigned long>(std::lround(waited * 1e6)));
    }
    return cost <= timeout;
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
        for (const auto& child : std::as_const(m_children)) {
            children.append(AccessibilityElement(child));
        }
        return QVariant::fromValue(children);
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

bool MemoryElement::performAction(const QString& name)
{
    if (!beginRequest(name) || m_failing.contains(name) || name != PressAction) {
        return false;
    }
    if (!m_attributes.value(EnabledAttribute).toBool()) {
        return false;
    }
    m_state->pressed.append(m_pressPath);
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
