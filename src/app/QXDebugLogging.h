#pragma once

namespace platform {
class UserDefaults;
}

// Keeps the program's debug lines in step with "QXDebugLog": on or off now,
// and again whenever the setting changes, here or in another process.
void QXFollowDebugLogSetting(platform::UserDefaults& defaults);
