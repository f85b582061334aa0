#pragma once

#include <QProxyStyle>

namespace platform {

// The application's style as every menu of the presenter shows it: a menu
// taller than the screen scrolls in one column (rather than spreading over
// columns past the screen's edge), and a menu whose images are larger than
// the small icon size, as they are with large menu fonts, has the icon size
// stored in its iconExtentProperty (in points).
class MenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr const char* iconExtentProperty = "trovixMenuIconExtent";

    MenuStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace platform
