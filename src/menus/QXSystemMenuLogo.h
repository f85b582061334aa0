#pragma once

#include <QImage>

// The logo the system menu's proxy item shows: the icon theme's desktop logo
// ("start-here"), sized to the shared menu font size. The symbolic variant is
// preferred and used as a template image (tinted like the menu's text).
namespace QXSystemMenuLogo {

struct Logo
{
    QImage image; // null when the icon theme has no logo
    bool isTemplate = false;
};

// The logo for the current shared menu font size: 13 x 16 points below 14
// points (0 included), else scaled by size / 13. Made once per font size and
// device-pixel ratio, then kept.
Logo logo();

// The size in points of the logo for a font size.
QSize logoSize(int fontSize);

} // namespace QXSystemMenuLogo
