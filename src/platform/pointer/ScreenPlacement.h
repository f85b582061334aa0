#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <optional>

namespace platform {

// One output as Qt sees it: its geometry in Qt's coordinates (whose top-left
// corner is also its top-left in the window system's pixels) and how many
// window-system pixels make one of Qt's.
struct ScreenArea
{
    QRect geometry;
    qreal devicePixelRatio = 1.0;
};

// Turns window-system positions into places on the outputs, the pure part of
// finding where a pop-up opens.
namespace ScreenPlacement {

// The window-system position native in Qt's coordinates: scaled about the
// top-left corner of the output that holds it (the first output when none
// does, as the pointer cannot be off every output).
QPoint fromNative(QPoint native, const QList<ScreenArea>& screens);

// The centre, in Qt's coordinates, of the output that holds most of
// frontWindow (a window-system rectangle), or of the primary output (the
// first one) when there is no front window or it lies off every output.
// A null point when there is no output at all.
QPoint fallbackCentre(const std::optional<QRect>& frontWindow, const QList<ScreenArea>& screens);

} // namespace ScreenPlacement
} // namespace platform
