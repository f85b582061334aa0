#pragma once

#include "platform/pointer/PointerLocation.h"

namespace platform {

// Qt's answer (QCursor::pos()): exact on an X11 desktop, where the X server
// follows the pointer everywhere.
class QtPointerLocation final : public PointerLocation
{
public:
    QPoint position() override;
};

} // namespace platform
