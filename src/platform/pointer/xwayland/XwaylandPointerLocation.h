#pragma once

#include "platform/pointer/PointerLocation.h"

#include <QString>
#include <memory>
#include <optional>

namespace platform {

class KWinCursorQuery;
class PointerEntryProbe;
class SwayCursorNudge;

// The pointer in a Wayland session, where Xwayland follows it only over X11
// windows and otherwise remembers a position that has gone stale. KWin is
// asked where it has the pointer; elsewhere, or when KWin does not answer, a
// probe window over every output shows where the pointer enters it (on sway,
// which is asked over its IPC socket to look again where the pointer is).
// Logged once per process: how the pointer is found on this desktop and what
// it costs.
class XwaylandPointerLocation final : public PointerLocation
{
public:
    XwaylandPointerLocation();
    ~XwaylandPointerLocation() override;

    QPoint position() override;

private:
    std::optional<QPoint> fromKWin(QString* outcome);

    std::unique_ptr<PointerEntryProbe> m_probe;
    std::unique_ptr<SwayCursorNudge> m_swayNudge;
    std::unique_ptr<KWinCursorQuery> m_kwin;
    int m_kwinFailures = 0;
    bool m_reported = false;
};

} // namespace platform
