#include "platform/pointer/xwayland/XwaylandPointerLocation.h"

#include "platform/log/SystemLog.h"
#include "platform/pointer/ScreenPlacement.h"
#include "platform/pointer/kde/KWinCursorQuery.h"
#include "platform/pointer/sway/SwayCursorNudge.h"
#include "platform/pointer/xwayland/PointerEntryProbe.h"
#include "platform/session/DisplaySession.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

// Long enough for a compositor under load to send the pointer's entry (a few
// milliseconds as a rule), short enough that a trigger never feels stuck.
constexpr int ProbeTimeoutMs = 250;
// KWin answers its script in a few milliseconds; the probe still has time
// after this.
constexpr int KWinTimeoutMs = 100;
// KWin asked in vain this often in a row is not asked again.
constexpr int KWinFailureLimit = 3;

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
    // KWin gives it to one only once the pointer moves, but tells where the
    // pointer is to a script it runs.
    if (DisplaySession::fromEnvironment().desktop == DisplaySession::Desktop::Kde) {
        m_kwin = std::make_unique<KWinCursorQuery>();
    }
}

std::optional<QPoint> XwaylandPointerLocation::fromKWin(QString* outcome)
{
    if (!m_kwin) {
        return std::nullopt;
    }
    QElapsedTimer timer;
    timer.start();
    if (const std::optional<KWinCursorQuery::Cursor> cursor = m_kwin->cursor(KWinTimeoutMs)) {
        m_kwinFailures = 0;
        const QPoint position =
            KWinCursorQuery::scaledTo(*cursor, m_probe->rootSize().value_or(cursor->layout));
        *outcome = QStringLiteral("pointer at %1,%2, from KWin in %3 ms")
                       .arg(position.x())
                       .arg(position.y())
                       .arg(timer.elapsed());
        return position;
    }
    systemLog(QStringLiteral("KWin did not tell where the pointer is (%1); the probe window looks")
                  .arg(m_kwin->lastFailure()));
    if (++m_kwinFailures >= KWinFailureLimit) {
        systemLog(QStringLiteral("KWin is not asked for the pointer again"));
        m_kwin.reset();
    }
    return std::nullopt;
}

XwaylandPointerLocation::~XwaylandPointerLocation() = default;

QPoint XwaylandPointerLocation::position()
{
    QString outcome;
    std::optional<QPoint> native = fromKWin(&outcome);
    if (!native) {
        QElapsedTimer timer;
        timer.start();
        native = m_probe->pointerPosition(
            ProbeTimeoutMs,
            m_swayNudge ? std::function<void()>([this] { m_swayNudge->nudge(); }) : nullptr);
        if (native) {
            outcome =
                QStringLiteral("pointer at %1,%2, found by its entry into a probe window in %3 ms")
                    .arg(native->x())
                    .arg(native->y())
                    .arg(timer.elapsed());
        }
    }
    const QList<ScreenArea> screens = screenAreas();
    const QPoint position = native
                                ? ScreenPlacement::fromNative(*native, screens)
                                : ScreenPlacement::fallbackCentre(m_probe->frontWindow(), screens);
    if (!native) {
        outcome = QStringLiteral("pointer not found within %1 ms (%2); the menu opens at %3,%4, "
                                 "the centre of the front window's output")
                      .arg(ProbeTimeoutMs)
                      .arg(m_probe->lastFailure())
                      .arg(position.x())
                      .arg(position.y());
    }
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
