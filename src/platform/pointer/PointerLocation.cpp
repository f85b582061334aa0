#include "platform/pointer/PointerLocation.h"

#include "platform/InstalledInstance.h"
#include "platform/pointer/qt/QtPointerLocation.h"
#include "platform/pointer/xwayland/XwaylandPointerLocation.h"
#include "platform/session/DisplaySession.h"

#include <QGuiApplication>

namespace platform {

PointerLocation::~PointerLocation() = default;

PointerLocation& PointerLocation::current()
{
    return InstalledInstance<PointerLocation>::get([]() -> std::unique_ptr<PointerLocation> {
        const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
        if (onX11 && DisplaySession::fromEnvironment().wayland) {
            return std::make_unique<XwaylandPointerLocation>();
        }
        return std::make_unique<QtPointerLocation>();
    });
}

void PointerLocation::setCurrent(std::unique_ptr<PointerLocation> location)
{
    InstalledInstance<PointerLocation>::set(std::move(location));
}

} // namespace platform
