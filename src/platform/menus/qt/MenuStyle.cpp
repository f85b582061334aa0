#include "platform/menus/qt/MenuStyle.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace platform {

MenuStyle::MenuStyle() : QProxyStyle(QApplication::style()->name()) {}

MenuStyle* MenuStyle::shared()
{
    static QPointer<MenuStyle> style;
    static QString baseName;
    const QString name = QApplication::style()->name();
    if (!style || name != baseName) {
        // The one made before stays (menus may still use it) until the
        // application ends.
        style = new MenuStyle;
        style->setParent(qApp);
        baseName = name;
    }
    return style;
}

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
