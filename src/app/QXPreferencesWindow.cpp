#include "app/QXPreferencesWindow.h"

#include "platform/application/Activation.h"

#include <QKeyEvent>
#include <QScreen>

QXPreferencesWindow::QXPreferencesWindow(QWidget* parent) : QMainWindow(parent) {}

void QXPreferencesWindow::makeKeyAndOrderFront()
{
    if (!isVisible() && !m_placed) {
        m_placed = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    // A minimised window comes back as it was before.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    platform::Activation::current().activateIgnoringOtherApps();
}

void QXPreferencesWindow::keyPressEvent(QKeyEvent* event)
{
    const bool escape = event->key() == Qt::Key_Escape;
    const bool controlPeriod =
        event->key() == Qt::Key_Period && (event->modifiers() & Qt::ControlModifier);
    // A hot key recorder takes these keys as its own.
    const QWidget* focus = focusWidget();
    const bool recorderFocused = focus != nullptr && focus->inherits("QXHotKeyTextView");
    if ((escape || controlPeriod) && !recorderFocused) {
        close();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

QMenu* QXPreferencesWindow::createPopupMenu()
{
    // No context menu to hide the toolbar: the sections live there.
    return nullptr;
}
