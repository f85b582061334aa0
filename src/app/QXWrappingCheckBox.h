#pragma once

#include <QCheckBox>

// A check box whose label wraps onto further lines when the window is too
// narrow for it on one (a tiling compositor's tile), instead of making the
// page wider than the window. On one line it looks and behaves as a plain
// check box; its text, name and click area stay the whole label.
class QXWrappingCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit QXWrappingCheckBox(const QString& text, QWidget* parent = nullptr);

    // Its natural size is the label on one line, as a plain check box's;
    // at the least as narrow as the longest word of the label allows.
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    // The height of one line: the indicator beside the label's first line.
    int lineHeight() const;
    // Where the label goes in a check box WIDTH wide, LINE high.
    QRect labelRect(int width) const;
    // The label's height wrapped to WIDTH.
    int wrappedTextHeight(int width) const;
};
