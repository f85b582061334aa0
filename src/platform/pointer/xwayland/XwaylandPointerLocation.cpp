#include "platform/pointer/xwayland/XwaylandPointerLocation.h"

#include "platform/log/SystemLog.h"
#include "platform/pointer/ScreenPlacement.h"
#include "platform/pointer/sway/SwayCursorNudge.h"
#include "platform/pointer/xwayland/PointerEntryProbe.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

// Long enough for a compositor under load to send the pointer's entry (a few
// milliseconds as a rule), short enough that a trigger never feels stuck.
constexpr int ProbeTimeoutMs = 250;

QList<ScreenArea> screenAreas()
{
    QList<ScreenArea> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    for (QScreen* screen : screens) {
        const ScreenArea area{screen->geometry(), screen->devicePixelRatio()};
        if (screen == primary) {
            areas.prepend(area);
        } else {
            areas.append(area);
        }
    }
    return areas;
}

} // namespace

XwaylandPointerLocation::XwaylandPointerLocation() : m_probe(std::make_unique<PointerEntryProbe>())
{
    // sway gives the pointer to a window appearing under it only when asked.
    const QString swaySocket = qEnvironmentVariable("SWAYSOCK");
    if (!swaySocket.isEmpty()) {
        m_swayNudge = std::make_unique<SwayCursorNudge>(swaySocket);
    }
}

XwaylandPointerLocation::~XwaylandPointerLocation() = default;

QPoint XwaylandPointerLocation::position()
{
    QElapsedTimer timer;
    timer.start();
    const std::optional<QPoint> native = m_probe->pointerPosition(
        ProbeTimeoutMs,
        m_swayNudge ? std::function<void()>([this] { m_swayNudge->nudge(); }) : nullptr);
    const QList<ScreenArea> screens = screenAreas();
    const QPoint position = native
                                ? ScreenPlacement::fromNative(*native, screens)
                                : ScreenPlacement::fallbackCentre(m_probe->frontWindow(), screens);
    const QString outcome =
        native ? QStringLiteral("pointer at %1,%2, found by its entry into a probe window in %3 ms")
                     .arg(native->x())
                     .arg(native->y())
                     .arg(timer.elapsed())
               : QStringLiteral("pointer not found within %1 ms (%2); the menu opens at %3,%4, "
                                "the centre of the front window's output")
                     .arg(ProbeTimeoutMs)
                     .arg(m_probe->lastFailure())
                     .arg(position.x())
                     .arg(position.y());
    // The first outcome tells whether the probe works on this desktop; later
    // ones only while debugging, and every failure.
    if (!m_reported || !native) {
        m_reported = true;
        systemLog(outcome);
    } else {
        systemDebugLog(outcome);
    }
    return position;
}

} // namespace platform
