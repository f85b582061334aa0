#include "menus/QXAccessibility.h"

#include "menus/QXMenuReadAhead.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/AccessibilityReadBudget.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/workspace/RunningApplication.h"

#include <QElapsedTimer>
#include <QHash>

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
    if (currentStallGuard) {
        return currentStallGuard->copyAttribute(element, attribute);
    }
    return element.copyAttribute(attribute);
}

std::optional<qint64> QXAttributeValueCount(const platform::AccessibilityElement& element,
                                            const QString& attribute)
{
    if (element.isNull() || attribute.isEmpty()) {
        return std::nullopt;
    }
    if (currentStallGuard) {
        return currentStallGuard->attributeValueCount(element, attribute);
    }
    return element.attributeValueCount(attribute);
}

std::optional<QVariant> QXCopyAttributeValues(const platform::AccessibilityElement& element,
                                              const QString& attribute, qint64 index,
                                              qint64 maxValues)
{
    if (element.isNull() || attribute.isEmpty()) {
        return std::nullopt;
    }
    if (currentStallGuard) {
        return currentStallGuard->copyAttributeValues(element, attribute, index, maxValues);
    }
    return element.copyAttributeValues(attribute, index, maxValues);
}

qint64 QXAccessibilityApplicationDeadlineMs()
{
    return qint64(double(QXAccessibilityMessagingTimeout()) * 2000.0);
}

// The reading time of every application since the guard that owns these
// deadlines was made.
struct QXAccessibilityStallGuard::ApplicationDeadlines
{
    struct Application
    {
        // Nanoseconds: most reads take well under a millisecond, and a sum
        // of whole milliseconds would count thousands of them as nothing.
        qint64 spentNs = 0;
        bool logged = false;
    };
    qint64 limitMs = QXAccessibilityApplicationDeadlineMs();
    qint64 limitNs() const { return limitMs * 1000000; }
    QHash<qint64, Application> applications;
};

QXAccessibilityStallGuard::QXAccessibilityStallGuard(Deadlines deadlines)
    : m_timedOutAtStart(platform::Accessibility::current().timedOutRequests()),
      m_outer(currentStallGuard), m_bindsStalls(deadlines == Deadlines::Shared)
{
    if (deadlines == Deadlines::Shared && m_outer) {
        m_deadlines = m_outer->m_deadlines;
    } else {
        m_deadlines = std::make_shared<ApplicationDeadlines>();
    }
    currentStallGuard = this;
}

QXAccessibilityStallGuard::QXAccessibilityStallGuard(const Account& account)
    : QXAccessibilityStallGuard(Deadlines::Shared)
{
    if (account.m_deadlines) {
        m_deadlines = std::static_pointer_cast<ApplicationDeadlines>(account.m_deadlines);
    }
}

QXAccessibilityStallGuard::Account QXAccessibilityStallGuard::account() const
{
    Account account;
    account.m_deadlines = m_deadlines;
    return account;
}

QXAccessibilityStallGuard::~QXAccessibilityStallGuard()
{
    currentStallGuard = m_outer;
}

QXAccessibilityStallGuard* QXAccessibilityStallGuard::current()
{
    return currentStallGuard;
}

bool QXAccessibilityStallGuard::hasStalled() const
{
    return platform::Accessibility::current().timedOutRequests() != m_timedOutAtStart;
}

bool QXAccessibilityStallGuard::hasRunPastDeadline(qint64 pid) const
{
    const auto found = m_deadlines->applications.constFind(pid);
    return found != m_deadlines->applications.cend() && found->spentNs >= m_deadlines->limitNs();
}

std::optional<QVariant>
QXAccessibilityStallGuard::copyAttribute(const platform::AccessibilityElement& element,
                                         const QString& attribute)
{
    return guarded<QVariant>(element, [&] { return element.copyAttribute(attribute); });
}

std::optional<qint64>
QXAccessibilityStallGuard::attributeValueCount(const platform::AccessibilityElement& element,
                                               const QString& attribute)
{
    return guarded<qint64>(element, [&] { return element.attributeValueCount(attribute); });
}

std::optional<QVariant>
QXAccessibilityStallGuard::copyAttributeValues(const platform::AccessibilityElement& element,
                                               const QString& attribute, qint64 index,
                                               qint64 maxValues)
{
    return guarded<QVariant>(
        element, [&] { return element.copyAttributeValues(attribute, index, maxValues); });
}

template <typename Value>
std::optional<Value>
QXAccessibilityStallGuard::guarded(const platform::AccessibilityElement& element,
                                   const std::function<std::optional<Value>()>& read)
{
    if (m_bindsStalls && hasStalled()) {
        return std::nullopt;
    }
    const std::optional<qint64> pid = element.pid();
    if (!pid) {
        return read();
    }
    const qint64 spentBefore = m_deadlines->applications[*pid].spentNs;
    if (spentBefore >= m_deadlines->limitNs()) {
        return std::nullopt;
    }
    QElapsedTimer timer;
    timer.start();
    std::optional<Value> value;
    {
        // A read that takes a run of requests stops where the deadline is.
        const platform::AccessibilityReadBudget budget(
            (m_deadlines->limitNs() - spentBefore + 999999) / 1000000);
        value = read();
    }
    // Looked up again: a read may turn the event loop, and a read of another
    // application meanwhile may have moved the entries.
    ApplicationDeadlines::Application& application = m_deadlines->applications[*pid];
    application.spentNs += timer.nsecsElapsed();
    if (application.spentNs >= m_deadlines->limitNs() && !application.logged) {
        application.logged = true;
        platform::systemLog(
            QStringLiteral("the application with pid %1 took longer than %2 ms to answer; "
                           "what it answered before is shown")
                .arg(*pid)
                .arg(m_deadlines->limitMs));
    }
    return value;
}

std::optional<platform::AccessibilityElementList>
QXMenuBarItemsForApplication(const platform::RunningApplication& application,
                             QXMenuReadAhead::Freshness freshness)
{
    if (application.isNull()) {
        return std::nullopt;
    }
    if (QXMenuReadAhead* readAhead = QXMenuReadAhead::current()) {
        const platform::AccessibilityElement kept =
            readAhead->menuBar(application.processIdentifier(), freshness);
        if (!kept.isNull()) {
            const std::optional<QVariant> children =
                QXCopyAttribute(kept, platform::accessibility::ChildrenAttribute);
            if (children) {
                return platform::accessibilityElementListFromVariant(*children);
            }
        }
    }
    const platform::AccessibilityElement applicationElement =
        platform::Accessibility::current().applicationElement(application.processIdentifier());
    if (applicationElement.isNull()) {
        return std::nullopt;
    }
    const std::optional<QVariant> menuBar =
        QXCopyAttribute(applicationElement, platform::accessibility::MenuBarAttribute);
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
