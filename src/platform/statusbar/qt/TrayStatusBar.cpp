#include "platform/statusbar/qt/TrayStatusBar.h"

#include "platform/statusbar/qt/TrayStatusItem.h"

#include <QSystemTrayIcon>

namespace platform {

bool TrayStatusBar::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::unique_ptr<StatusItem> TrayStatusBar::statusItemWithLength(double length)
{
    return std::make_unique<TrayStatusItem>(length);
}

} // namespace platform
