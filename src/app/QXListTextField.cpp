#include "app/QXListTextField.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

QXListTextField::QXListTextField(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    document()->setDocumentMargin(2);
    connect(this, &QPlainTextEdit::textChanged, this, &QXListTextField::fitHeight);
    m_height = fittingHeight();
    setFixedHeight(m_height);
}

int QXListTextField::fittingHeight() const
{
    // The plain text layout measures its document in lines, wrapped lines
    // included.
    const qreal lines = std::max<qreal>(1, document()->documentLayout()->documentSize().height());
    const QMargins margins = contentsMargins();
    const QMargins viewport = viewportMargins();
    // One pixel of slack keeps the scroll bar away while the text fits.
    const qreal height = lines * fontMetrics().lineSpacing() + 2 * document()->documentMargin() +
                         margins.top() + margins.bottom() + viewport.top() + viewport.bottom() +
                         2 * frameWidth() + 1;
    return std::clamp(static_cast<int>(std::ceil(height)), minimumFieldHeight, maximumFieldHeight);
}

QSize QXListTextField::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), m_height};
}

QSize QXListTextField::minimumSizeHint() const
{
    return {QPlainTextEdit::minimumSizeHint().width(), m_height};
}

void QXListTextField::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    // A new width rewraps the text.
    fitHeight();
}

void QXListTextField::fitHeight()
{
    const int height = fittingHeight();
    if (height == m_height) {
        return;
    }
    const int delta = height - m_height;
    m_height = height;
    setFixedHeight(height);
    updateGeometry();
    Q_EMIT didResize(delta);
}
