#pragma once

#include <QImage>
#include <QString>

namespace platform {

class Menu;

// An icon of the program in the desktop's tray (the notification area).
// Clicking it opens its menu.
class StatusItem
{
public:
    virtual ~StatusItem() = default;

    // The width asked for when the item was made, in points.
    virtual double length() const = 0;
    // Images in points; template images are drawn in the tray's text colour.
    virtual void setImage(const QImage& image, bool isTemplate) = 0;
    // The image shown while the item is pressed.
    virtual void setAlternateImage(const QImage& image, bool isTemplate) = 0;
    virtual void setHighlightMode(bool highlight) = 0;
    // The name under which the desktop may remember the item's place.
    virtual void setAutosaveName(const QString& name) = 0;
    // The menu opened by a click. Not owned: it must outlive the item or be
    // reset with nullptr.
    virtual void setMenu(Menu* menu) = 0;
    virtual Menu* menu() const = 0;
};

} // namespace platform
