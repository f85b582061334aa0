#include "platform/menus/qt/MenuIcons.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QtMath>

namespace platform::MenuIcons {

QImage tinted(const QImage& image, const QColor& color)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(image.devicePixelRatio());
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(0, 0), result.deviceIndependentSize().toSize()), color);
    painter.end();
    return result;
}

QIcon icon(const QImage& image, bool isTemplate, const QPalette& palette)
{
    if (image.isNull()) {
        return {};
    }
    if (!isTemplate) {
        return QIcon(QPixmap::fromImage(image));
    }
    QIcon icon;
    icon.addPixmap(
        QPixmap::fromImage(tinted(image, palette.color(QPalette::Active, QPalette::Text))),
        QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(
                       tinted(image, palette.color(QPalette::Active, QPalette::HighlightedText))),
                   QIcon::Active);
    icon.addPixmap(
        QPixmap::fromImage(tinted(image, palette.color(QPalette::Disabled, QPalette::Text))),
        QIcon::Disabled);
    return icon;
}

QIcon mixedStateIcon(const QPalette& palette, int extent, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int size = qMax(8, extent);
    QImage image(QSize(qCeil(size * ratio), qCeil(size * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = size * 0.5;
    const qreal thickness = qMax<qreal>(1.5, size / 8.0);
    painter.fillRect(QRectF((size - width) / 2, (size - thickness) / 2, width, thickness),
                     Qt::black);
    painter.end();
    return icon(image, true, palette);
}

} // namespace platform::MenuIcons
