#pragma once

#include "platform/accessibility/Accessibility.h"

#include <QString>

// Why other applications cannot be read and what the user can do about it,
// as whole sentences: the part that is missing or refuses, then the remedy
// ("The D-Bus session bus is missing. Start Trovix from a desktop session,
// which provides one.").
QString
accessibilityUnavailableExplanation(const platform::AccessibilityUnavailability& unavailability);
