#include "platform/workspace/Workspace.h"

#include "platform/workspace/x11/X11Workspace.h"

namespace platform {

namespace {

std::unique_ptr<Workspace>& instance()
{
    static std::unique_ptr<Workspace> workspace;
    return workspace;
}

} // namespace

Workspace& Workspace::current()
{
    if (!instance()) {
        instance() = std::make_unique<X11Workspace>();
    }
    return *instance();
}

void Workspace::setCurrent(std::unique_ptr<Workspace> workspace)
{
    instance() = std::move(workspace);
}

} // namespace platform
