#pragma once

#include <QtGlobal>
#include <optional>

namespace platform {

// When automatic update checks are due. Times are whole seconds since 1970.
namespace UpdateSchedule {

// One day between automatic checks unless the settings say otherwise, and
// never more often than hourly.
inline constexpr qint64 defaultIntervalSeconds = 24 * 60 * 60;
inline constexpr qint64 minimumIntervalSeconds = 60 * 60;

// The interval to use for a stored one: the default for none (0 or less),
// at least the minimum.
qint64 effectiveInterval(qint64 storedSeconds);

// Seconds from now until the next automatic check. Without a last check the
// first one comes a whole interval after the program first ran; a last check
// in the future (the clock was set back) counts as one made now.
qint64 secondsUntilNextCheck(std::optional<qint64> lastCheck, qint64 now, qint64 interval);

} // namespace UpdateSchedule
} // namespace platform
