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
    // Written so that a huge interval cannot overflow.
    const qint64 elapsed = now - *lastCheck;
    return elapsed >= interval ? 0 : interval - elapsed;
}

} // namespace platform::UpdateSchedule
