#include "platform/pointer/ScreenPlacement.h"

#include <QtMath>

namespace platform::ScreenPlacement {
namespace {

// The output's area in window-system pixels.
QRect nativeArea(const ScreenArea& screen)
{
    const qreal ratio = screen.devicePixelRatio > 0 ? screen.devicePixelRatio : 1.0;
    return {screen.geometry.topLeft(),
            QSize(qCeil(screen.geometry.width() * ratio), qCeil(screen.geometry.height() * ratio))};
}

QPoint scaledFromNative(QPoint native, const ScreenArea& screen)
{
    const qreal ratio = screen.devicePixelRatio > 0 ? screen.devicePixelRatio : 1.0;
    const QPoint origin = screen.geometry.topLeft();
    const QPoint offset = native - origin;
    return origin + QPoint(qFloor(offset.x() / ratio), qFloor(offset.y() / ratio));
}

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

QPoint fromNative(QPoint native, const QList<ScreenArea>& screens)
{
    for (const ScreenArea& screen : screens) {
        if (nativeArea(screen).contains(native)) {
            return scaledFromNative(native, screen);
        }
    }
    return screens.isEmpty() ? native : scaledFromNative(native, screens.constFirst());
}

QPoint fallbackCentre(const std::optional<QRect>& frontWindow, const QList<ScreenArea>& screens)
{
    if (screens.isEmpty()) {
        return {};
    }
    const ScreenArea* chosen = &screens.constFirst();
    if (frontWindow && frontWindow->isValid()) {
        qint64 largest = 0;
        for (const ScreenArea& screen : screens) {
            const qint64 shared = overlap(nativeArea(screen), *frontWindow);
            if (shared > largest) {
                largest = shared;
                chosen = &screen;
            }
        }
    }
    return chosen->geometry.center();
}

} // namespace platform::ScreenPlacement
