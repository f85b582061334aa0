#pragma once

#include "platform/accessibility/AccessibilityElement.h"

#include <optional>

// Presses another application's menu item and waits for the application's
// answer, at most a little longer than the messaging timeout that bounds the
// answer itself. Nothing when the press could not be sent (the item is gone,
// disabled or its application has quit).
std::optional<platform::ActionReply> pressForeignItem(const platform::AccessibilityElement& item,
                                                      float timeout);
