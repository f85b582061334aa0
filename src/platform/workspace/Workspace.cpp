#include "platform/workspace/Workspace.h"

#include "platform/InstalledInstance.h"
#include "platform/workspace/x11/X11Workspace.h"

namespace platform {

Workspace& Workspace::current()
{
    return InstalledInstance<Workspace>::get(
        []() -> std::unique_ptr<Workspace> { return std::make_unique<X11Workspace>(); });
}

std::shared_ptr<void> Workspace::observeFrontApplication(std::function<void(qint64)>)
{
    return nullptr;
}

void Workspace::setCurrent(std::unique_ptr<Workspace> workspace)
{
    InstalledInstance<Workspace>::set(std::move(workspace));
}

} // namespace platform
