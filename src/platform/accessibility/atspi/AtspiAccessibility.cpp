#include "platform/accessibility/atspi/AtspiAccessibility.h"

#include "platform/accessibility/atspi/AtspiElementNode.h"
#include "platform/accessibility/atspi/AtspiMenuBarRead.h"
#include "platform/accessibility/atspi/AtspiMenuTree.h"
#include "platform/accessibility/atspi/AtspiMenuTreeRead.h"
#include "platform/accessibility/atspi/AtspiMenuWatch.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "platform/accessibility/atspi/AtspiSystemWideNode.h"
#include "platform/accessibility/atspi/ToolkitBridgeCheck.h"
#include "platform/log/SystemLog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <atspi/atspi.h>
#include <memory>

namespace platform {

AtspiAccessibility::AtspiAccessibility() = default;

AtspiAccessibility::~AtspiAccessibility() = default;

bool AtspiAccessibility::ensureInitialized()
{
    if (!m_initialized) {
        // 0 is success, 1 means it was already initialised by someone else.
        const int result = atspi_init();
        m_initialized = result == 0 || result == 1;
    }
    return m_initialized;
}

bool AtspiAccessibility::isTrusted(bool prompt)
{
    // Once found on, accessibility is taken to stay on, and checked again
    // without waiting: a pop-up need not wait for the session bus. Found
    // switched off, the next question asks again and waits.
    if (m_state == AccessibilityBus::State::On && m_foundOn) {
        m_bus.checkStillOn([alive = std::weak_ptr<bool>(m_alive), this] {
            if (alive.lock()) {
                m_foundOn = false;
            }
        });
        return true;
    }
    m_state = m_bus.state();
    m_foundOn = m_state == AccessibilityBus::State::On;
    if (m_state == AccessibilityBus::State::On) {
        return true;
    }
    // Without the service there is nothing to turn on.
    if (!prompt || m_state != AccessibilityBus::State::Off) {
        return false;
    }
    m_state = m_bus.enable();
    const bool enabled = m_state == AccessibilityBus::State::On;
    m_foundOn = enabled;
    if (enabled) {
        m_bus.publishAddressOnRootWindow();
        tellUserAboutRestart();
    }
    return enabled;
}

AccessibilityUnavailability AtspiAccessibility::unavailability() const
{
    using Reason = AccessibilityUnavailability::Reason;
    switch (m_state) {
    case AccessibilityBus::State::On:
        return {};
    case AccessibilityBus::State::NoSessionBus:
        return {Reason::Missing, QCoreApplication::translate("Trovix", "the D-Bus session bus"),
                QCoreApplication::translate(
                    "Trovix", "Start Trovix from a desktop session, which provides one.")};
    case AccessibilityBus::State::NoAccessibilityService:
        return {Reason::Missing,
                QCoreApplication::translate("Trovix", "the AT-SPI accessibility bus"),
                QCoreApplication::translate(
                    "Trovix", "Install the at-spi2-core package, then log out and log in again.")};
    case AccessibilityBus::State::Off:
        break;
    }
    return {Reason::Refused, QCoreApplication::translate("Trovix", "the AT-SPI accessibility bus"),
            QCoreApplication::translate(
                "Trovix",
                "Allow assistive technologies in the desktop's accessibility settings and make "
                "sure the at-spi2-core package is installed, then log out and log in again.")};
}

void AtspiAccessibility::tellUserAboutRestart()
{
    if (m_toldUser) {
        return;
    }
    m_toldUser = true;
    const QString text = QCoreApplication::translate(
        "Trovix", "Accessibility has been turned on. Applications that were started before "
                  "must be restarted before Trovix can read their menus.");
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        systemLog(text);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information,
                                QCoreApplication::translate("Trovix", "Accessibility"), text,
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

AccessibilityElement AtspiAccessibility::systemWideElement()
{
    return AccessibilityElement(std::make_shared<AtspiSystemWideNode>());
}

quint64 AtspiAccessibility::timedOutRequests() const
{
    return atspi::timedOutRequests();
}

qint64 AtspiAccessibility::messagingTimeoutMs() const
{
    return atspi::messagingTimeoutMs();
}

AccessibilityElement AtspiAccessibility::applicationElement(qint64 pid)
{
    return findApplication(pid, nullptr);
}

MenuTree AtspiAccessibility::menuTree(qint64 pid, int maxItems)
{
    QString busName;
    const AccessibilityElement application = findApplication(pid, &busName);
    if (application.isNull()) {
        return {};
    }
    std::optional<MenuTree> tree = atspi::readMenuTreeFromCache(busName, pid, maxItems);
    if (tree) {
        return *tree;
    }
    return readMenuTreeItemByItem(application, maxItems);
}

std::unique_ptr<MenuTreeRead> AtspiAccessibility::startMenuTreeRead(qint64 pid, int maxItems)
{
    QString busName;
    if (findApplication(pid, &busName).isNull()) {
        busName.clear();
    }
    return std::make_unique<atspi::AtspiMenuTreeRead>(busName, pid, maxItems);
}

std::unique_ptr<MenuBarRead> AtspiAccessibility::startMenuBarRead(qint64 pid,
                                                                  const MenuBarReadDepth& depth,
                                                                  const MenuBarRead* previous)
{
    QString busName;
    if (findApplication(pid, &busName).isNull()) {
        busName.clear();
    }
    const auto* earlier = dynamic_cast<const atspi::AtspiMenuBarRead*>(previous);
    return std::make_unique<atspi::AtspiMenuBarRead>(
        busName, pid, depth, earlier ? earlier->hint(busName) : std::nullopt);
}

std::shared_ptr<void> AtspiAccessibility::watchMenus(qint64 pid, std::function<void()> changed)
{
    QString busName;
    if (findApplication(pid, &busName).isNull()) {
        return nullptr;
    }
    return atspi::AtspiMenuWatch::instance().watch(busName, std::move(changed));
}

bool AtspiAccessibility::lacksAccessibilityBridge(qint64 pid)
{
    return atspi::processRunsGtk2WithoutBridge(pid);
}

AccessibilityElement AtspiAccessibility::findApplication(qint64 pid, QString* busName)
{
    if (pid <= 0 || !ensureInitialized()) {
        return {};
    }
    atspi::AtspiApplicationDirectory::Application application = m_applications.find(pid);
    if (!application.object) {
        return {};
    }
    if (busName) {
        *busName = application.busName;
    }
    return AccessibilityElement(std::make_shared<AtspiElementNode>(
        std::move(application.object), AtspiElementNode::Kind::Application, pid));
}

} // namespace platform
