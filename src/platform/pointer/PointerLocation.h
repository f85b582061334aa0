#pragma once

#include <QPoint>
#include <memory>

namespace platform {

// Where the pointer is, for placing a pop-up menu at it.
class PointerLocation
{
public:
    virtual ~PointerLocation();

    // The pointer's position in the coordinates Qt places windows in. When
    // the window system cannot tell within a short, fixed time, the centre of
    // the output holding the front window (else of the primary output): never
    // a position the window system merely remembers from earlier.
    virtual QPoint position() = 0;

    // The process-wide instance: in a Wayland session with Xwayland the
    // probing one, else Qt's own answer.
    static PointerLocation& current();
    // Replaces the process-wide instance (tests install the memory one); an
    // empty pointer brings the default back on next use.
    static void setCurrent(std::unique_ptr<PointerLocation> location);

protected:
    PointerLocation() = default;
    PointerLocation(const PointerLocation&) = delete;
    PointerLocation& operator=(const PointerLocation&) = delete;
};

} // namespace platform
