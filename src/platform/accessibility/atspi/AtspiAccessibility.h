#pragma once

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/atspi/AccessibilityBus.h"

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

private:
    bool ensureInitialized();
    void tellUserAboutRestart();

    AccessibilityBus m_bus;
    AccessibilityBus::State m_state = AccessibilityBus::State::On;
    bool m_initialized = false;
    bool m_toldUser = false;
};

} // namespace platform
