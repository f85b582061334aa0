#include "platform/menus/qt/MenuStyle.h"

#include <QApplication>
#include <QWidget>

namespace platform {

MenuStyle::MenuStyle() : QProxyStyle(QApplication::style()->name()) {}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric != PM_SmallIconSize || !widget) {
        return base;
    }
    return qMax(base, widget->property(iconExtentProperty).toInt());
}

int MenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const
{
    if (hint == SH_Menu_Scrollable) {
        return 1;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace platform
