#include "platform/statusbar/StatusBar.h"

#include "platform/InstalledInstance.h"
#include "platform/statusbar/qt/TrayStatusBar.h"

namespace platform {

StatusBar& StatusBar::system()
{
    return InstalledInstance<StatusBar>::get(
        []() -> std::unique_ptr<StatusBar> { return std::make_unique<TrayStatusBar>(); });
}

void StatusBar::setSystem(std::unique_ptr<StatusBar> statusBar)
{
    InstalledInstance<StatusBar>::set(std::move(statusBar));
}

} // namespace platform
