#pragma once

#include "platform/input/RightClickService.h"

#include <QPointF>

namespace platform {

// A right-click service in memory. Tests read which modifier it takes clicks
// for, make it refuse to start, and click.
class MemoryRightClickService : public RightClickService
{
public:
    // An unavailable service refuses to start.
    explicit MemoryRightClickService(bool available = true);

    bool start(ModifierFlags modifier, Handler handler) override;
    void stop() override;
    bool isRunning() const override { return m_running; }

    // Control surface for tests.
    void setRefusing(bool refusing) { m_refusing = refusing; }
    // The modifier the running service takes clicks for (0 while stopped).
    ModifierFlags modifier() const { return m_running ? m_modifier : 0; }
    // How often start() was asked.
    int startRequests() const { return m_startRequests; }
    // A right click with these modifier flags. Answers whether the service
    // took it; one it does not take belongs to the application under the pointer.
    bool click(ModifierFlags modifierFlags, QPointF screenLocation = {});

private:
    bool m_available;
    bool m_refusing = false;
    bool m_running = false;
    ModifierFlags m_modifier = 0;
    Handler m_handler;
    int m_startRequests = 0;
};

} // namespace platform
