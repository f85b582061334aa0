#pragma once

#include <QWidget>

// A strip at the top of the help page: the page header, or the quick-access
// bar. It fills itself with the text background colour and draws a line along
// its bottom edge.
class QXHelpManagerHeaderView : public QWidget
{
    Q_OBJECT

public:
    QXHelpManagerHeaderView(int height, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
