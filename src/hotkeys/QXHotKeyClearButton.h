#pragma once

#include <QAbstractButton>
#include <QPointer>

class QXHotKeyTextView;

// The small button beside a hot key field that clears it. In the flat drawing
// style it shows a plus while its field is empty and idle (clicking it then
// starts recording) and a cross otherwise; in the other style it shows the
// images "QXHotKeyDeleteOn" and "QXHotKeyDeleteOff".
class QXHotKeyClearButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QXHotKeyClearButton(QWidget* parent = nullptr);

    // The field this button clears; clicking calls its deleteHotKey().
    void setTarget(QXHotKeyTextView* textView);
    QXHotKeyTextView* hotKeyTextView() const { return m_target; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFlat(QPainter& painter);
    void paintImage(QPainter& painter);

    QPointer<QXHotKeyTextView> m_target;
};
