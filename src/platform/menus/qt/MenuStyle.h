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

    // The one every menu shows, made again when the application's style
    // has changed since; it lasts as long as the application. Making a
    // style for each menu cost a new base style, and polishing with it.
    static MenuStyle* shared();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace platform
