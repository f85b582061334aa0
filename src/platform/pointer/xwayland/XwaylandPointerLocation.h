#pragma once

#include "platform/pointer/PointerLocation.h"

#include <memory>

namespace platform {

class PointerEntryProbe;
class SwayCursorNudge;

// The pointer in a Wayland session, where Xwayland follows it only over X11
// windows and otherwise remembers a position that has gone stale: a probe
// window over every output shows where the pointer enters it (on sway, which
// is asked over its IPC socket to look again where the pointer is). Logged once per
// process: whether the probe works on this desktop and what it costs.
class XwaylandPointerLocation final : public PointerLocation
{
public:
    XwaylandPointerLocation();
    ~XwaylandPointerLocation() override;

    QPoint position() override;

private:
    std::unique_ptr<PointerEntryProbe> m_probe;
    std::unique_ptr<SwayCursorNudge> m_swayNudge;
    bool m_reported = false;
};

} // namespace platform
