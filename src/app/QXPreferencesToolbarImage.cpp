#include "app/QXPreferencesToolbarImage.h"

#include "platform/menus/qt/MenuIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QtMath>

namespace QXPreferencesToolbarImage {
namespace {

// A menu: a filled sheet with a transparent bar cut out along its top.
void drawMenu(QPainter& painter)
{
    const QRectF sheet = QRectF(0, 0, pointSize, pointSize).adjusted(6, 5, -6, -5);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(sheet, 3, 3);
    QRectF bar = sheet.adjusted(2.5, 2.5, -2.5, -2.5);
    bar.setHeight(5);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.drawRoundedRect(bar, 2, 2);
}

// A gear badge: a toothed wheel with a hole, filling the 24-point square at
// (4, 4).
void drawGear(QPainter& painter)
{
    const QRectF box(4, 4, 24, 24);
    const QPointF centre = box.center();
    constexpr int teeth = 8;
    const qreal outer = box.width() / 2; // tips of the teeth
    const qreal root = outer - 3.5;      // between the teeth
    const qreal hole = 3.5;
    // Each tooth spans a third of its pitch at the tip, half at the root.
    QPainterPath wheel;
    const qreal pitch = 2 * M_PI / teeth;
    for (int tooth = 0; tooth < teeth; ++tooth) {
        const qreal middle = tooth * pitch - M_PI / 2;
        const auto at = [&centre](qreal radius, qreal angle) {
            return centre + QPointF(radius * qCos(angle), radius * qSin(angle));
        };
        const QPointF points[] = {at(root, middle - pitch / 4), at(outer, middle - pitch / 6),
                                  at(outer, middle + pitch / 6), at(root, middle + pitch / 4)};
        if (tooth == 0) {
            wheel.moveTo(points[0]);
        } else {
            wheel.lineTo(points[0]);
        }
        for (int index = 1; index < 4; ++index) {
            wheel.lineTo(points[index]);
        }
        // Along the root circle to the next tooth.
        const qreal from = -qRadiansToDegrees(middle + pitch / 4);
        const qreal sweep = -qRadiansToDegrees(pitch / 2);
        wheel.arcTo(QRectF(centre.x() - root, centre.y() - root, 2 * root, 2 * root), from, sweep);
    }
    wheel.closeSubpath();
    wheel.addEllipse(centre, hole, hole);
    wheel.setFillRule(Qt::OddEvenFill);
    painter.setBrush(Qt::black);
    painter.drawPath(wheel);
}

// A free-standing refresh arrow: an open circle, turning clockwise, with an
// arrowhead at its end, filling the 26-point square at (3, 3).
void drawRefresh(QPainter& painter)
{
    const QRectF box(3, 3, 26, 26);
    const QPointF centre = box.center();
    const qreal stroke = 2.5;
    const qreal head = 8; // the arrowhead's length along the circle
    const qreal radius = box.width() / 2 - head / 2;
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Qt's angles run counter-clockwise from three o'clock; the gap sits at
    // the top right, the arrow ends there pointing clockwise.
    constexpr qreal start = 50;  // where the line begins, in degrees
    constexpr qreal sweep = 290; // clockwise extent of the line
    QPainterPath arc;
    arc.arcMoveTo(circle, start);
    arc.arcTo(circle, start, -sweep + 12);
    painter.setPen(QPen(Qt::black, stroke, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);

    // The arrowhead: a triangle across the circle at the arc's end, its
    // point further along the circle.
    const qreal endAngle = qDegreesToRadians(start - sweep);
    const QPointF end = centre + QPointF(radius * qCos(endAngle), -radius * qSin(endAngle));
    const QPointF outward(qCos(endAngle), -qSin(endAngle));
    // Clockwise on screen is the direction of decreasing Qt angle.
    const QPointF along(qSin(endAngle), qCos(endAngle));
    const QPointF base = end - along * (head * 0.45);
    const QPointF points[] = {base + outward * (head / 2), end + along * (head * 0.55),
                              base - outward * (head / 2)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(points, 3);
}

} // namespace

QImage templateImage(const QString& identifier, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int pixels = qCeil(pointSize * ratio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (identifier == QLatin1String("Menu")) {
        drawMenu(painter);
    } else if (identifier == QLatin1String("Advanced")) {
        drawGear(painter);
    } else {
        drawRefresh(painter);
    }
    painter.end();
    return image;
}

QIcon icon(const QString& identifier, const QPalette& palette, qreal devicePixelRatio)
{
    const QImage image = templateImage(identifier, devicePixelRatio);
    QIcon icon;
    for (const auto& [group, mode] :
         {std::pair{QPalette::Active, QIcon::Normal}, std::pair{QPalette::Active, QIcon::Active},
          std::pair{QPalette::Active, QIcon::Selected},
          std::pair{QPalette::Disabled, QIcon::Disabled}}) {
        icon.addPixmap(QPixmap::fromImage(platform::MenuIcons::tinted(
                           image, palette.color(group, QPalette::WindowText))),
                       mode);
    }
    return icon;
}

} // namespace QXPreferencesToolbarImage
