#include "hotkeys/QXHotKeyHandlerApplication.h"

#include "hotkeys/QXApplicationDelegate.h"

#include <QTimer>
#include <QWidget>

QXHotKeyHandlerApplication::QXHotKeyHandlerApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    connect(this, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && m_delegate != nullptr) {
                    m_delegate->applicationDidResignActive();
                }
            });
}

QXHotKeyHandlerApplication::~QXHotKeyHandlerApplication() = default;

QXHotKeyHandlerApplication* QXHotKeyHandlerApplication::sharedApplication()
{
    return qobject_cast<QXHotKeyHandlerApplication*>(QCoreApplication::instance());
}

int QXHotKeyHandlerApplication::run()
{
    if (m_delegate != nullptr) {
        m_delegate->applicationWillFinishLaunching();
        QTimer::singleShot(0, this, [this] {
            if (m_delegate != nullptr) {
                m_delegate->applicationDidFinishLaunching();
            }
        });
    }
    return exec();
}

void QXHotKeyHandlerApplication::terminate()
{
    if (m_delegate != nullptr &&
        m_delegate->applicationShouldTerminate() == QXApplicationDelegate::TerminateReply::Cancel) {
        return;
    }
    quit();
}

void QXHotKeyHandlerApplication::handleReopen()
{
    if (m_delegate == nullptr) {
        return;
    }
    bool hasVisibleWindows = false;
    for (const QWidget* widget : topLevelWidgets()) {
        hasVisibleWindows = hasVisibleWindows || (widget->isVisible() && widget->isWindow());
    }
    m_delegate->applicationShouldHandleReopen(hasVisibleWindows);
}

bool QXHotKeyHandlerApplication::notify(QObject* receiver, QEvent* event)
{
    // Each event from the window system starts a new one; events sent while
    // it is handled belong to it.
    if (event->spontaneous()) {
        ++m_eventSerial;
    }
    return QApplication::notify(receiver, event);
}
