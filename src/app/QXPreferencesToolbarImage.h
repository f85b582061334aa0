#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

class QPalette;

// The images of the preferences window's toolbar sections, drawn in code at
// 32 x 32 points as template images: black shapes on transparency, tinted to
// the palette's text colour when shown, so they follow light and dark themes.
namespace QXPreferencesToolbarImage {

inline constexpr int pointSize = 32;

// The template image of a section ("Menu", "Advanced"; "Updates" and any
// other identifier get the refresh arrow), at the given device-pixel ratio.
QImage templateImage(const QString& identifier, qreal devicePixelRatio);

// The section's image tinted for palette: the window text colour, and the
// disabled text colour for a disabled button.
QIcon icon(const QString& identifier, const QPalette& palette, qreal devicePixelRatio);

} // namespace QXPreferencesToolbarImage
