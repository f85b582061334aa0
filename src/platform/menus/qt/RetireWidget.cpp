#include "platform/menus/qt/RetireWidget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

// Twenty times what the accessibility bridge waits for the registry: the
// bridge has answered, and posted its copies, well before the widget goes.
// (The registry's answer arrives on Qt's D-Bus thread, which queues it for
// the main thread, so even an event loop that was busy meanwhile finds it
// queued ahead of the deletion; and Qt discards the events still queued for
// a widget it deletes.)
constexpr int RetirementMilliseconds = 2000;

// Swallows the input of the widgets it watches.
class InputBlocker : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->isInputEvent() || event->type() == QEvent::InputMethod ||
            event->type() == QEvent::Shortcut) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The widgets waiting to be deleted. Never destroyed itself: a widget still
// waiting when the program ends must stay reachable, since it cannot be
// deleted after the application object.
std::vector<QPointer<QWidget>>& retiredWidgets()
{
    static auto* const widgets = new std::vector<QPointer<QWidget>>;
    return *widgets;
}

} // namespace

void retireWidget(QWidget* widget)
{
    if (!widget) {
        return;
    }
    if (!QCoreApplication::instance()) {
        delete widget;
        return;
    }
    widget->hide();
    auto* blocker = new InputBlocker(widget);
    widget->installEventFilter(blocker);
    const QList<QWidget*> descendants = widget->findChildren<QWidget*>();
    for (QWidget* descendant : descendants) {
        descendant->installEventFilter(blocker);
    }

    auto* timer = new QTimer(widget);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, widget, &QObject::deleteLater);
    timer->start(RetirementMilliseconds);

    std::vector<QPointer<QWidget>>& widgets = retiredWidgets();
    widgets.erase(std::remove_if(widgets.begin(), widgets.end(),
                                 [](const QPointer<QWidget>& retired) { return retired.isNull(); }),
                  widgets.end());
    widgets.emplace_back(widget);
}

} // namespace platform
