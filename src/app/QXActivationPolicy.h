#pragma once

// Switches between the regular policy (windows in the taskbar) and the
// accessory policy (none). With activate, the program comes to the front 0.5
// seconds later, once the desktop has taken in the change. Answers false
// (after logging and beeping) when the desktop refuses the change.
bool QXSetActivationPolicy(bool accessory, bool activate);

// The delay of the self-activation that follows a policy change, in ms.
inline constexpr int QXSelfActivationDelayMilliseconds = 500;

// Whether a launch in dock mode stays in the background: no window, and so
// no taskbar entry, until the user asks for one (starting Trovix again, the
// program's menu, a pop-up). A desktop's taskbar lists windows, not running
// programs, so keeping out of the way means not opening the preferences
// window; it still opens when no trigger would reach Trovix otherwise.
bool QXLaunchesInBackground();
