#include "app/QXWrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace {

constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

QXWrappingCheckBox::QXWrappingCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent)
{
    // As high as the wrapped label needs, which a fixed height would cut.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::CheckBox);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize QXWrappingCheckBox::minimumSizeHint() const
{
    int widestWord = 0;
    const QStringList words = text().split(u' ', Qt::SkipEmptyParts);
    for (const QString& word : words) {
        widestWord = std::max(widestWord, fontMetrics().horizontalAdvance(word));
    }
    // What the check box adds around its label: the indicator, the spacing
    // and the style's margins.
    const int around = sizeHint().width() - fontMetrics().horizontalAdvance(text());
    return {std::min(sizeHint().width(), around + widestWord), lineHeight()};
}

bool QXWrappingCheckBox::hasHeightForWidth() const
{
    return true;
}

int QXWrappingCheckBox::heightForWidth(int width) const
{
    const QRect label = labelRect(width);
    return std::max(lineHeight(), label.top() + wrappedTextHeight(label.width()));
}

int QXWrappingCheckBox::lineHeight() const
{
    return QCheckBox::sizeHint().height();
}

QRect QXWrappingCheckBox::labelRect(int width) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = QRect(0, 0, width, lineHeight());
    QRect label = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    // The first line centred beside the indicator, as on one line.
    label.setTop(std::max(0, (lineHeight() - fontMetrics().height()) / 2));
    return label;
}

int QXWrappingCheckBox::wrappedTextHeight(int width) const
{
    return fontMetrics()
        .boundingRect(QRect(0, 0, std::max(1, width), QWIDGETSIZE_MAX), textFlags, text())
        .height();
}

void QXWrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton indicator = option;
    indicator.rect.setHeight(std::min(lineHeight(), height()));
    indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &indicator, this);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    QRect label = labelRect(width());
    label.setHeight(height() - label.top());
    painter.drawItemText(label, textFlags, palette(), isEnabled(), text(), QPalette::WindowText);

    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(label, textFlags, text()).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool QXWrappingCheckBox::hitButton(const QPoint& position) const
{
    // The whole label, on however many lines.
    return rect().contains(position);
}
