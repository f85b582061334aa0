#include "app/QXActivationPolicy.h"

#include "app/QXSettingsKeys.h"
#include "platform/application/Activation.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

void scheduleSelfActivation()
{
    QTimer::singleShot(QXSelfActivationDelayMilliseconds, QCoreApplication::instance(),
                       [] { platform::Activation::current().activateIgnoringOtherApps(); });
}

} // namespace

bool QXSetActivationPolicy(bool accessory, bool activate)
{
    platform::Activation& activation = platform::Activation::current();
    const platform::ActivationPolicy policy =
        accessory ? platform::ActivationPolicy::Accessory : platform::ActivationPolicy::Regular;
    if (activation.activationPolicy() == policy) {
        return true;
    }
    if (!activation.setActivationPolicy(policy)) {
        platform::systemLog(
            QStringLiteral("cannot set activation policy: %1").arg(static_cast<long>(policy)));
        activation.beep();
        return false;
    }
    if (accessory) {
        if (activate) {
            scheduleSelfActivation();
        }
        return true;
    }
    // There is no dock to bring forward first on this desktop. A launch
    // straight into the regular policy may stay in the background when the
    // user asked for that.
    if (activate || !platform::UserDefaults::standard().boolForKey(
                        QXSettingsKeys::ApplicationModeDockBackgroundLaunch)) {
        scheduleSelfActivation();
    }
    return true;
}

bool QXLaunchesInBackground()
{
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    return defaults.integerForKey(QXSettingsKeys::ApplicationMode) < 1 &&
           defaults.boolForKey(QXSettingsKeys::ApplicationModeDockBackgroundLaunch);
}
