#pragma once

#include <QString>
#include <functional>

namespace platform {

// The session's accessibility switch and bus, reached over the session bus
// (org.a11y.Bus). Accessibility counts as on when org.a11y.Status IsEnabled
// is true and the accessibility bus accepts a connection.
class AccessibilityBus
{
public:
    enum class State
    {
        On,
        // The session has no bus to ask (no D-Bus session bus).
        NoSessionBus,
        // Nothing on the session bus offers accessibility (org.a11y.Bus is
        // neither running nor can it be started).
        NoAccessibilityService,
        // The service is there, but accessibility is off or its bus does not
        // accept a connection.
        Off
    };

    State state();
    // Asks whether accessibility is still switched on without waiting:
    // answered calls switchedOff, on the main thread, when it is not.
    void checkStillOn(std::function<void()> switchedOff);
    bool isEnabled() { return state() == State::On; }
    // Switches accessibility on for the session; answers the state after.
    State enable();
    // Publishes the bus address in the root window's AT_SPI_BUS property when
    // it is missing: Qt 5 applications look for it there when they start.
    void publishAddressOnRootWindow();
    // The accessibility bus's address; empty when the session has none.
    QString address() const;

private:
    bool answers(const QString& address);

    QString m_answeringAddress;
};

} // namespace platform
