#pragma once

#include "platform/statusbar/StatusBar.h"

namespace platform {

// Status items as Qt's system tray icons (XEmbed or StatusNotifierItem,
// whichever the desktop's tray speaks).
class TrayStatusBar : public StatusBar
{
public:
    bool isAvailable() const override;
    std::unique_ptr<StatusItem> statusItemWithLength(double length) override;
};

} // namespace platform
