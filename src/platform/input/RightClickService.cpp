#include "platform/input/RightClickService.h"

#include "platform/input/memory/MemoryRightClickService.h"
#include "platform/input/x11/X11RightClickService.h"

#include <QCoreApplication>

namespace platform {
namespace {

std::unique_ptr<RightClickService>& installed()
{
    static std::unique_ptr<RightClickService> service;
    return service;
}

// The X11 service ungrabs its button while the connection still exists.
void dropInstalled()
{
    installed().reset();
}

} // namespace

RightClickService::~RightClickService() = default;

RightClickService& RightClickService::current()
{
    auto& service = installed();
    if (!service) {
        if (auto x11 = X11RightClickService::create()) {
            service = std::move(x11);
            qAddPostRoutine(&dropInstalled);
        } else {
            service = std::make_unique<MemoryRightClickService>(false);
        }
    }
    return *service;
}

void RightClickService::setCurrent(std::unique_ptr<RightClickService> service)
{
    if (installed()) {
        installed()->stop();
    }
    installed() = std::move(service);
}

} // namespace platform
