#pragma once

#include <QMainWindow>

// A preferences window: centred the first time it is shown, closed with
// Escape or Ctrl+., and its toolbar cannot be hidden.
class QXPreferencesWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit QXPreferencesWindow(QWidget* parent = nullptr);

    // Centres the window when it is not yet visible, then brings it forward.
    void makeKeyAndOrderFront();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    bool m_placed = false;
};
