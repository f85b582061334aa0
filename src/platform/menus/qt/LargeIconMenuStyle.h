#pragma once

#include <QProxyStyle>

namespace platform {

// The application's style for menus whose images are larger than the small
// icon size, as they are with large menu fonts: the icon size of such a menu
// is the extent (in points) stored in its iconExtentProperty.
class LargeIconMenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr const char* iconExtentProperty = "trovixMenuIconExtent";

    LargeIconMenuStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

} // namespace platform
