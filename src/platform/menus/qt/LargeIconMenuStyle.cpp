#include "platform/menus/qt/LargeIconMenuStyle.h"

#include <QApplication>
#include <QWidget>

namespace platform {

LargeIconMenuStyle::LargeIconMenuStyle() : QProxyStyle(QApplication::style()->name()) {}

int LargeIconMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                    const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric != PM_SmallIconSize || !widget) {
        return base;
    }
    return qMax(base, widget->property(iconExtentProperty).toInt());
}

} // namespace platform
