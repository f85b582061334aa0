#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>

class QPainter;

// The program's glyph: a rounded-rectangle outline with a filled bar along its
// top edge, drawn in code at any size. The status item shows it at 14 x 17
// points with inset 0 and line width 1; the program's own submenu in the
// pop-up shows it scaled to the menu's font size.
namespace QXProgramGlyph {

// Draws the glyph in color into bounds, whose origin is the top-left corner; inset moves it in from
// every edge and lineWidth is the width of the outline.
void draw(QPainter& painter, const QRectF& bounds, qreal inset, qreal lineWidth,
          const QColor& color);

// A template image (black on transparent) of size points at the given
// device-pixel ratio.
QImage templateImage(const QSizeF& size, qreal devicePixelRatio, qreal inset, qreal lineWidth);

// The template image for the program's own submenu in a menu whose font has
// fontSize points (0 the standard font): 13 x 16 points up to 13 points, then
// grown with the font, the inset and the outline growing in steps.
QImage menuItemImage(int fontSize, qreal devicePixelRatio);

} // namespace QXProgramGlyph
