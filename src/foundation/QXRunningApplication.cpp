#include "foundation/QXRunningApplication.h"

#include "platform/log/SystemLog.h"
#include "platform/workspace/Workspace.h"

#include <QFileInfo>

namespace QXExtensions {

std::optional<QString> localizedNameOrBundleName(const platform::RunningApplication& application)
{
    if (application.isNull()) {
        return std::nullopt;
    }
    const QString name = application.localizedName().trimmed();
    if (!name.isEmpty()) {
        return name;
    }
    const QString bundleName =
        QFileInfo(application.bundleURL().path()).completeBaseName().trimmed();
    if (!bundleName.isEmpty()) {
        return bundleName;
    }
    return std::nullopt;
}

bool isRegularOrAccessory(const platform::RunningApplication& application, bool includeAccessory)
{
    using Policy = platform::RunningApplication::ActivationPolicy;
    switch (application.activationPolicy()) {
    case Policy::Regular:
        return true;
    case Policy::Accessory:
        return includeAccessory;
    case Policy::Prohibited:
        return false;
    }
    return false;
}

bool activateByRaisingAllWindows(const platform::RunningApplication& application, bool raiseAll)
{
    if (application.isNull()) {
        return false;
    }
    // The process-level path is always available on this desktop, so it is
    // tried first for both forms.
    const qint64 pid = application.processIdentifier();
    if (pid >= 0 && platform::Workspace::current().setFrontProcess(pid, !raiseAll)) {
        return true;
    }
    return application.activateWithOptions(raiseAll);
}

bool activateByRaisingAllWindows(const platform::RunningApplication& application, bool raiseAll,
                                 bool reopen)
{
    if (!activateByRaisingAllWindows(application, raiseAll || reopen)) {
        return false;
    }
    const qint64 pid = application.processIdentifier();
    if (reopen && pid >= 0) {
        const int error = platform::Workspace::current().reopenApplication(pid);
        if (error != 0) {
            platform::systemLog(
                QStringLiteral("[Tessaly] cannot reopen %1: %2")
                    .arg(localizedNameOrBundleName(application).value_or(QStringLiteral("(null)")))
                    .arg(error));
        }
    }
    return true;
}

} // namespace QXExtensions
