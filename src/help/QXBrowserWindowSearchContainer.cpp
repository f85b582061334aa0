#include "help/QXBrowserWindowSearchContainer.h"

#include "foundation/QXLocalized.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace {

bool isDark(const QWidget& widget)
{
    return widget.palette().color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

QXBrowserWindowSearchContainer::QXBrowserWindowSearchContainer(QWidget* parent)
    : QWidget(parent), m_searchField(new QLineEdit(this)),
      m_doneButton(new QPushButton(QXLocalized::tr("Done"), this))
{
    setObjectName(QStringLiteral("QXBrowserWindowSearchContainer"));
    setAccessibleName(QXLocalized::tr("Find"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(Height);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_searchField->setFont(small);
    m_searchField->setAccessibleName(QXLocalized::tr("Find in page"));
    m_searchField->setPlaceholderText(QXLocalized::tr("Find"));
    m_searchField->setClearButtonEnabled(true);
    for (QAbstractButton* button : m_searchField->findChildren<QAbstractButton*>()) {
        button->setAccessibleName(QXLocalized::tr("Clear"));
    }
    m_searchField->installEventFilter(this);
    m_doneButton->setFont(small);
    m_doneButton->setAccessibleName(QXLocalized::tr("Done"));
    m_doneButton->setAutoDefault(false);
    connect(m_doneButton, &QPushButton::clicked, this,
            &QXBrowserWindowSearchContainer::doneRequested);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 3);
    layout->setSpacing(6);
    layout->addWidget(m_searchField, 1);
    layout->addWidget(m_doneButton);
}

bool QXBrowserWindowSearchContainer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_searchField && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Q_EMIT doneRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void QXBrowserWindowSearchContainer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = isDark(*this);
    if (dark) {
        painter.fillRect(rect(), QColor::fromRgbF(0.22f, 0.22f, 0.22f));
    } else {
        QLinearGradient gradient(rect().topLeft(), rect().bottomLeft());
        gradient.setColorAt(0.0, QColor::fromRgbF(1.0f, 1.0f, 1.0f));
        gradient.setColorAt(1.0, QColor::fromRgbF(0.97f, 0.97f, 0.97f));
        painter.fillRect(rect(), gradient);
    }
    const float line = dark ? 0.1f : 0.9f;
    painter.fillRect(QRect(0, height() - 1, width(), 1), QColor::fromRgbF(line, line, line));
}
