#include "help/QXHelpManagerPageButton.h"

#include "foundation/QXLocalized.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStyle>

QXHelpManagerPageButton::QXHelpManagerPageButton(bool pointingLeft, QWidget* parent)
    : QToolButton(parent), m_pointingLeft(pointingLeft)
{
    const QStyle::StandardPixmap pixmap =
        pointingLeft ? QStyle::SP_ArrowLeft : QStyle::SP_ArrowRight;
    setIcon(
        QIcon::fromTheme(pointingLeft ? QStringLiteral("go-previous") : QStringLiteral("go-next"),
                         QApplication::style()->standardIcon(pixmap)));
    setIconSize(QSize(Size - 8, Size - 8));
    setFixedSize(Size, Size);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAccessibleName(pointingLeft ? QXLocalized::tr("Previous Page")
                                   : QXLocalized::tr("Next Page"));
    hide();
    connect(this, &QToolButton::clicked, this, [this] {
        if (m_target) {
            Q_EMIT openPage(m_target->path);
        }
    });
}

void QXHelpManagerPageButton::setTargetPageRepresentation(
    const std::optional<QXHelpPageRecord>& record)
{
    m_target = record;
    setToolTip(record ? record->title : QString());
    setAccessibleDescription(record ? record->title : QString());
    setVisible(record.has_value());
}
