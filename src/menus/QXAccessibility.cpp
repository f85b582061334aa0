#include "menus/QXAccessibility.h"

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/workspace/RunningApplication.h"

namespace {

// Set once, the first time the trust check succeeds; a later change of the
// timeout setting takes effect at the next launch.
bool timeoutApplied = false;

// The innermost stall guard alive, if any.
QXAccessibilityStallGuard* currentStallGuard = nullptr;

constexpr float DefaultMessagingTimeout = 1.0f;
constexpr float SmallestMessagingTimeout = 0.009f;

} // namespace

bool QXAccessibilityIsTrusted(bool prompt)
{
    return platform::Accessibility::current().isTrusted(prompt);
}

bool QXAccessibilityPrepare()
{
    if (!QXAccessibilityIsTrusted(true)) {
        return false;
    }
    if (!timeoutApplied) {
        QXAccessibilitySetGlobalMessagingTimeout(QXAccessibilityMessagingTimeout());
        timeoutApplied = true;
    }
    return true;
}

platform::AccessibilityUnavailability QXAccessibilityUnavailability()
{
    return platform::Accessibility::current().unavailability();
}

float QXAccessibilityMessagingTimeout()
{
    const auto seconds = static_cast<float>(platform::UserDefaults::standard().floatForKey(
        QStringLiteral("Accessibility API Timeout")));
    return seconds > SmallestMessagingTimeout ? seconds : DefaultMessagingTimeout;
}

void QXAccessibilitySetGlobalMessagingTimeout(float seconds)
{
    const platform::AccessibilityElement systemWide =
        platform::Accessibility::current().systemWideElement();
    if (systemWide.isNull()) {
        return;
    }
    systemWide.setMessagingTimeout(seconds);
}

std::optional<QVariant> QXCopyAttribute(const platform::AccessibilityElement& element,
                                        const QString& attribute)
{
    if (element.isNull() || attribute.isEmpty()) {
        return std::nullopt;
    }
    if (currentStallGuard && currentStallGuard->hasStalled()) {
        return std::nullopt;
    }
    return element.copyAttribute(attribute);
}

QXAccessibilityStallGuard::QXAccessibilityStallGuard()
    : m_timedOutAtStart(platform::Accessibility::current().timedOutRequests()),
      m_outer(currentStallGuard)
{
    currentStallGuard = this;
}

QXAccessibilityStallGuard::~QXAccessibilityStallGuard()
{
    currentStallGuard = m_outer;
}

bool QXAccessibilityStallGuard::hasStalled() const
{
    return platform::Accessibility::current().timedOutRequests() != m_timedOutAtStart;
}

std::optional<platform::AccessibilityElementList>
QXMenuBarItemsForApplication(const platform::RunningApplication& application)
{
    if (application.isNull()) {
        return std::nullopt;
    }
    const platform::AccessibilityElement applicationElement =
        platform::Accessibility::current().applicationElement(application.processIdentifier());
    if (applicationElement.isNull()) {
        return std::nullopt;
    }
    const std::optional<QVariant> menuBar =
        applicationElement.copyAttribute(platform::accessibility::MenuBarAttribute);
    if (!menuBar) {
        return std::nullopt;
    }
    const std::optional<QVariant> children =
        QXCopyAttribute(platform::accessibilityElementFromVariant(*menuBar),
                        platform::accessibility::ChildrenAttribute);
    if (!children) {
        return std::nullopt;
    }
    return platform::accessibilityElementListFromVariant(*children);
}

bool QXMenuItemImagesEnabled()
{
    return !platform::UserDefaults::standard().boolForKey(
        QStringLiteral("Disable Menu Item Images"));
}
