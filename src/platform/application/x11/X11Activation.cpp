#include "platform/application/x11/X11Activation.h"

#include "platform/workspace/x11/EwmhConnection.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace platform {
namespace {

// Windows that take part in the taskbar: real top-level windows, not menus,
// tool tips or the invisible helpers Qt keeps.
bool isTaskbarCandidate(const QWidget* widget)
{
    if (widget == nullptr || !widget->isWindow()) {
        return false;
    }
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

quint32 nativeWindow(const QWidget* widget)
{
    return static_cast<quint32>(widget->winId());
}

} // namespace

X11Activation::X11Activation()
{
    if (qApp != nullptr) {
        qApp->installEventFilter(this);
    }
}

X11Activation::~X11Activation()
{
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool X11Activation::isAvailable()
{
    return qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb") &&
           EwmhConnection::shared().isValid();
}

bool X11Activation::setActivationPolicy(ActivationPolicy policy)
{
    EwmhConnection& ewmh = EwmhConnection::shared();
    if (!ewmh.isValid()) {
        return false;
    }
    m_policy = policy;
    const bool skip = policy == ActivationPolicy::Accessory;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (isTaskbarCandidate(widget) && widget->testAttribute(Qt::WA_WState_Created)) {
            ewmh.setSkipTaskbar(nativeWindow(widget), skip, widget->isVisible());
        }
    }
    return true;
}

void X11Activation::activateIgnoringOtherApps()
{
    // A window just shown or raised is in front, though the window that had
    // the focus is still the active one until the window manager says
    // otherwise: activating that one would bring it back over the new one.
    QWidget* front =
        m_front != nullptr && m_front->isVisible() ? m_front.data() : QApplication::activeWindow();
    if (front == nullptr) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (isTaskbarCandidate(widget) && widget->isVisible()) {
                front = widget;
            }
        }
    }
    if (front == nullptr) {
        return;
    }
    front->raise();
    // Asked as a pager would, so focus-stealing prevention lets it through.
    if (!EwmhConnection::shared().activateWindow(nativeWindow(front))) {
        front->activateWindow();
    }
}

void X11Activation::beep()
{
    QApplication::beep();
}

void X11Activation::setWindowOnAllWorkspaces(QWidget* window)
{
    if (window == nullptr || !window->isWindow()) {
        return;
    }
    // Creating the native window here lets its hints be in place before the
    // window manager first sees it.
    const quint32 native = nativeWindow(window);
    EwmhConnection::shared().setOnAllDesktops(native, window->testAttribute(Qt::WA_Mapped));
}

bool X11Activation::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange) &&
        watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (isTaskbarCandidate(widget) && widget->isVisible()) {
            m_front = widget;
        }
    }
    // A window about to be shown is created but not yet mapped: mark it so
    // that the window manager never lists it in the taskbar in accessory mode.
    if (event->type() == QEvent::Show && m_policy == ActivationPolicy::Accessory) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (isTaskbarCandidate(widget) && widget->testAttribute(Qt::WA_WState_Created)) {
            EwmhConnection::shared().setSkipTaskbar(nativeWindow(widget), true, false);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
