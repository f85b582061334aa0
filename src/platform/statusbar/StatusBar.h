#pragma once

#include "platform/statusbar/StatusItem.h"

#include <memory>

namespace platform {

// The desktop's tray, where status items live.
class StatusBar
{
public:
    virtual ~StatusBar() = default;

    // The process-wide tray: Qt's system tray on a desktop, or an in-memory
    // one that tests install.
    static StatusBar& system();
    static void setSystem(std::unique_ptr<StatusBar> statusBar);

    // Whether a tray host runs now; items made without one appear when one
    // starts.
    virtual bool isAvailable() const = 0;
    // A new item of the given width in points, shown at once.
    virtual std::unique_ptr<StatusItem> statusItemWithLength(double length) = 0;
};

} // namespace platform
