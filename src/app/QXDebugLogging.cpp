#include "app/QXDebugLogging.h"

#include "app/QXSettingsKeys.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"

void QXFollowDebugLogSetting(platform::UserDefaults& defaults)
{
    const auto follow = [&defaults] {
        platform::setDebugLoggingEnabled(defaults.boolForKey(QXSettingsKeys::DebugLog));
    };
    follow();
    QObject::connect(&defaults, &platform::UserDefaults::didChange, &defaults, follow);
}
