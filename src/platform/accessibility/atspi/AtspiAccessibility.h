#pragma once

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/atspi/AccessibilityBus.h"
#include "platform/accessibility/atspi/AtspiApplicationDirectory.h"

namespace platform {

// Accessibility over AT-SPI (libatspi). The trust check asks whether the
// session's accessibility is on; the prompt turns it on and tells the user,
// once per run, that applications started before must be restarted.
class AtspiAccessibility : public Accessibility
{
public:
    AtspiAccessibility();
    ~AtspiAccessibility() override;

    bool isTrusted(bool prompt) override;
    AccessibilityUnavailability unavailability() const override;
    AccessibilityElement systemWideElement() override;
    AccessibilityElement applicationElement(qint64 pid) override;
    quint64 timedOutRequests() const override;
    qint64 messagingTimeoutMs() const override;
    // Through the application's object cache where it answers for it (GTK),
    // item by item where it does not.
    MenuTree menuTree(qint64 pid, int maxItems) override;
    // The same without waiting for any reply: the cache request first, then
    // item by item with the requests for all entries of a menu sent at once.
    std::unique_ptr<MenuTreeRead> startMenuTreeRead(qint64 pid, int maxItems) override;
    std::unique_ptr<MenuBarRead> startMenuBarRead(qint64 pid, const MenuBarReadDepth& depth,
                                                  const MenuBarRead* previous) override;
    std::shared_ptr<void> watchMenus(qint64 pid, std::function<void()> changed) override;
    // GTK 2 without its bridge, known from the libraries the process has loaded.
    bool lacksAccessibilityBridge(qint64 pid) override;

private:
    bool ensureInitialized();
    // The application object with that process identifier, with its bus name.
    AccessibilityElement findApplication(qint64 pid, QString* busName);
    void tellUserAboutRestart();

    AccessibilityBus m_bus;
    atspi::AtspiApplicationDirectory m_applications;
    AccessibilityBus::State m_state = AccessibilityBus::State::On;
    // Whether a check that waited found accessibility on, and no later one
    // found it off.
    bool m_foundOn = false;
    // Checks without waiting tell only a backend that still lives.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_initialized = false;
    bool m_toldUser = false;
};

} // namespace platform
