#include "platform/statusbar/StatusBar.h"

#include "platform/statusbar/qt/TrayStatusBar.h"

namespace platform {
namespace {

std::unique_ptr<StatusBar>& installed()
{
    static std::unique_ptr<StatusBar> statusBar;
    return statusBar;
}

} // namespace

StatusBar& StatusBar::system()
{
    auto& statusBar = installed();
    if (!statusBar) {
        statusBar = std::make_unique<TrayStatusBar>();
    }
    return *statusBar;
}

void StatusBar::setSystem(std::unique_ptr<StatusBar> statusBar)
{
    installed() = std::move(statusBar);
}

} // namespace platform
