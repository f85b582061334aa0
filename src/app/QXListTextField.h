#pragma once

#include <QPlainTextEdit>

// A multi-line text field for lists with one entry per line. Return starts a
// new line, Tab moves the focus on, and the field's height follows its text
// between a minimum of one line and a maximum, so short lists take little room
// and long ones scroll.
class QXListTextField : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int minimumFieldHeight = 22;
    static constexpr int maximumFieldHeight = 160;

    explicit QXListTextField(QWidget* parent = nullptr);

    // The height the text asks for, within the limits.
    int fittingHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The field took a new height; the controls below it have moved along.
    void didResize(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();

    int m_height = minimumFieldHeight;
};
