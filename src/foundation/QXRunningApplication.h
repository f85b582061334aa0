#pragma once

#include "platform/workspace/RunningApplication.h"

#include <QString>
#include <optional>

// Naming, filtering and activating running applications.
namespace QXExtensions {

// The localized name, trimmed; when that is empty, the executable's file name
// without its extension, trimmed; nothing when that is empty too.
std::optional<QString> localizedNameOrBundleName(const platform::RunningApplication& application);

// Regular applications always, accessory ones when asked for, background
// processes never.
bool isRegularOrAccessory(const platform::RunningApplication& application, bool includeAccessory);

// Brings the application forward, its front window only or all its windows:
// the process-level way first, the application-level way when that fails.
bool activateByRaisingAllWindows(const platform::RunningApplication& application, bool raiseAll);

// Activates (all windows when raiseAll or reopen) and, with reopen, asks the
// application to show its windows again; a reopen request that cannot be
// delivered is logged and does not change the answer.
bool activateByRaisingAllWindows(const platform::RunningApplication& application, bool raiseAll,
                                 bool reopen);

} // namespace QXExtensions
