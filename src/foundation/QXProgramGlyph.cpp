#include "foundation/QXProgramGlyph.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace QXProgramGlyph {

void draw(QPainter& painter, const QRectF& bounds, qreal inset, qreal lineWidth,
          const QColor& color)
{
    // The outline sits half a line in from whole points horizontally, so a
    // one-point line covers whole pixels; vertically it leaves a point more.
    const qreal dx = inset + lineWidth - 0.5;
    const qreal dy = inset + lineWidth + 0.5;
    const QRectF outer = bounds.adjusted(dx, dy, -dx, -dy);
    if (outer.width() <= 0 || outer.height() <= 0) {
        return;
    }

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal outlineRadius = lineWidth + 1.0;
    painter.setPen(QPen(color, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outer, outlineRadius, outlineRadius);

    const qreal barInset = lineWidth + 0.5;
    QRectF bar = outer.adjusted(barInset, barInset, -barInset, -barInset);
    bar.setHeight(lineWidth + 3.0);
    if (bar.width() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawRoundedRect(bar, 1.5, 1.5);
    }
    painter.restore();
}

QImage templateImage(const QSizeF& size, qreal devicePixelRatio, qreal inset, qreal lineWidth)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize pixels(qMax(1, qCeil(size.width() * ratio)), qMax(1, qCeil(size.height() * ratio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter, QRectF(QPointF(0, 0), size), inset, lineWidth, Qt::black);
    painter.end();
    return image;
}

QImage menuItemImage(int fontSize, qreal devicePixelRatio)
{
    QSizeF size(13, 16);
    if (fontSize >= 14) {
        const qreal scale = fontSize / 13.0;
        size = QSizeF(qRound(13 * scale), qRound(16 * scale));
    }
    const qreal inset = fontSize > 23 ? 1.0 : 0.0;
    const qreal lineWidth = fontSize > 27 ? 3.0 : fontSize > 19 ? 2.0 : 1.0;
    return templateImage(size, devicePixelRatio, inset, lineWidth);
}

} // namespace QXProgramGlyph
