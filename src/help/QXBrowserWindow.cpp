#include "help/QXBrowserWindow.h"

#include "help/QXBrowserWindowController.h"

#include <QCloseEvent>

QXBrowserWindow::QXBrowserWindow(QXBrowserWindowController& controller, QWidget* parent)
    : QMainWindow(parent), m_controller(controller)
{}

void QXBrowserWindow::closeEvent(QCloseEvent* event)
{
    if (m_controller.windowShouldClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void QXBrowserWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    Q_EMIT frameChanged();
}

void QXBrowserWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Q_EMIT frameChanged();
}
