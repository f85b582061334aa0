#pragma once

#include "platform/workspace/ActiveWindowSource.h"

#include <QObject>

namespace platform::atspi {

// Window activation as the accessibility bus tells it, whatever the display
// protocol: the window:activate and window:deactivate events and the changes
// of the active state, from GTK, Qt and other toolkits, for X11 and Wayland
// clients alike. An application is known by its unique name on the bus; its
// process is asked of the bus itself.
class AtspiActiveWindowSource : public ActiveWindowSource
{
public:
    AtspiActiveWindowSource() = default;
    ~AtspiActiveWindowSource() override;
    AtspiActiveWindowSource(const AtspiActiveWindowSource&) = delete;
    AtspiActiveWindowSource& operator=(const AtspiActiveWindowSource&) = delete;

    bool listen(std::function<void(const Event&)> handler) override;
    void askProcess(const QString& application,
                    std::function<void(std::optional<qint64>)> answer) override;
    void askIsWindow(const Window& window,
                     std::function<void(std::optional<bool>)> answer) override;
    std::optional<ActiveWindow> scan() override;

    // Called by libatspi for every registered event.
    void deliver(const Event& event);

private:
    void deregister();
    // Answers are handed over through this object's event queue, so none
    // arrives after the source is gone.
    QObject m_context;
    std::function<void(const Event&)> m_handler;
    bool m_registered = false;
};

} // namespace platform::atspi
