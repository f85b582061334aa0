#include "platform/pointer/qt/QtPointerLocation.h"

#include <QCursor>

namespace platform {

QPoint QtPointerLocation::position()
{
    return QCursor::pos();
}

} // namespace platform
