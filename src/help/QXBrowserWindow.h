#pragma once

#include <QMainWindow>

class QXBrowserWindowController;

// The window of a browser window controller. Its toolbar can be shown but not
// hidden, and closing it asks the controller first.
class QXBrowserWindow : public QMainWindow
{
    Q_OBJECT

public:
    QXBrowserWindow(QXBrowserWindowController& controller, QWidget* parent = nullptr);

    // No menu of toolbars: the one toolbar always stays.
    QMenu* createPopupMenu() override { return nullptr; }

Q_SIGNALS:
    // The window moved or was resized by the user or the desktop.
    void frameChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QXBrowserWindowController& m_controller;
};
