#include "platform/loginitems/sandbox/SandboxedLoginItems.h"

#include <QFileInfo>

namespace platform {

bool SandboxedLoginItems::isSandboxed()
{
    // Every Flatpak sandbox has this file at its root.
    return QFileInfo::exists(QStringLiteral("/.flatpak-info"));
}

} // namespace platform
