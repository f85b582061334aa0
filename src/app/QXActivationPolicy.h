#pragma once

// Switches between the regular policy (windows in the taskbar) and the
// accessory policy (none). With activate, the program comes to the front 0.5
// seconds later, once the desktop has taken in the change. Answers false
// (after logging and beeping) when the desktop refuses the change.
bool QXSetActivationPolicy(bool accessory, bool activate);

// The delay of the self-activation that follows a policy change, in ms.
inline constexpr int QXSelfActivationDelayMilliseconds = 500;
