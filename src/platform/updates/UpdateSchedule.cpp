#include "platform/updates/UpdateSchedule.h"

namespace platform::UpdateSchedule {

qint64 effectiveInterval(qint64 storedSeconds)
{
    if (storedSeconds <= 0) {
        return defaultIntervalSeconds;
    }
    return qMax(storedSeconds, minimumIntervalSeconds);
}

qint64 secondsUntilNextCheck(std::optional<qint64> lastCheck, qint64 now, qint64 interval)
{
    if (!lastCheck || *lastCheck > now) {
        return interval;
    }
    // Compared without subtracting the stored time, which may be anything
    // (the settings file is the user's): no overflow.
    if (*lastCheck <= now - interval) {
        return 0;
    }
    return interval - (now - *lastCheck);
}

} // namespace platform::UpdateSchedule
