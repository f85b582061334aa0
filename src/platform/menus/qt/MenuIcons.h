#pragma once

#include <QIcon>
#include <QImage>

class QPalette;

namespace platform {

// Icons for menu items: images as given, template images tinted to the
// menu's text colours, and the mark of the mixed state.
namespace MenuIcons {

// The icon for an item's image. A template image keeps only its alpha and is
// drawn in the palette's text colour, in the highlighted text colour while
// the item is highlighted and in the disabled text colour while disabled.
QIcon icon(const QImage& image, bool isTemplate, const QPalette& palette);

// A dash ("–") in the palette's text colours, extent points square.
QIcon mixedStateIcon(const QPalette& palette, int extent, qreal devicePixelRatio);

// image with every pixel in color, keeping its alpha.
QImage tinted(const QImage& image, const QColor& color);

} // namespace MenuIcons
} // namespace platform
