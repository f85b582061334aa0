#pragma once

#include <QImage>
#include <memory>

namespace platform {
class Menu;
class MenuDelegate;
class StatusItem;
} // namespace platform

// Shows, updates and removes the program's icon in the desktop's tray.
class QXStatusItemController
{
public:
    static QXStatusItemController& defaultController();
    ~QXStatusItemController();
    QXStatusItemController(const QXStatusItemController&) = delete;
    QXStatusItemController& operator=(const QXStatusItemController&) = delete;

    // Enabled: makes the status item (or updates the one there is) with the
    // image and the alternate image (the named fallback images when none is
    // given) and, with a delegate, a menu that the delegate fills each time
    // it opens. Disabled: removes the status item, then brings the program
    // forward when activateAfterDisabling is set.
    void setStatusItemEnabled(bool enabled, const QImage& image, const QImage& alternateImage,
                              platform::MenuDelegate* menuDelegate, bool activateAfterDisabling);
    void setStatusItemEnabled(bool enabled, const QImage& image, const QImage& alternateImage,
                              platform::MenuDelegate* menuDelegate);
    void setStatusItemEnabled(bool enabled, platform::MenuDelegate* menuDelegate);
    void setStatusItemEnabled(bool enabled);

    platform::StatusItem* statusItem() const { return m_statusItem.get(); }
    platform::Menu* statusItemMenu() const { return m_menu.get(); }

    // The width used for a status item showing an image of imageWidth points
    // when "QXStatusItemWidth" asks for requestedWidth.
    static double statusItemWidth(double imageWidth, qint64 requestedWidth);

    // The named fallback images of the bundle.
    static QImage namedImage(const QString& name);

    // Removes the status item (tests start each case from none).
    void reset();

private:
    QXStatusItemController() = default;

    std::unique_ptr<platform::StatusItem> m_statusItem;
    std::unique_ptr<platform::Menu> m_menu;
    QImage m_image;
    QImage m_alternateImage;
};
