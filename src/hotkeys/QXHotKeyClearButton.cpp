#include "hotkeys/QXHotKeyClearButton.h"

#include "hotkeys/QXHotKeyTextView.h"
#include "platform/bundle/Bundle.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The image resource name, at twice the size on high-density screens when
// the bundle has it.
QPixmap loadNamedImage(const QString& name, qreal devicePixelRatio)
{
    const platform::Bundle& bundle = platform::Bundle::main();
    if (devicePixelRatio > 1) {
        const QString path =
            bundle.pathForResource(name + QStringLiteral("@2x"), QStringLiteral("png"));
        QPixmap pixmap;
        if (!path.isEmpty() && pixmap.load(path)) {
            pixmap.setDevicePixelRatio(2);
            return pixmap;
        }
    }
    QPixmap pixmap;
    const QString path = bundle.pathForResource(name, QStringLiteral("png"));
    if (!path.isEmpty()) {
        pixmap.load(path);
    }
    return pixmap;
}

// Loaded once per name and density.
QPixmap namedImage(const QString& name, qreal devicePixelRatio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = name + QLatin1Char('/') + QString::number(devicePixelRatio > 1 ? 2 : 1);
    const auto found = cache.constFind(key);
    if (found != cache.constEnd()) {
        return *found;
    }
    const QPixmap image = loadNamedImage(name, devicePixelRatio);
    cache.insert(key, image);
    return image;
}

QColor grey(double whiteLevel)
{
    return QColor::fromRgbF(float(whiteLevel), float(whiteLevel), float(whiteLevel));
}

bool isDark(const QWidget& widget)
{
    return widget.palette().color(QPalette::Window).lightness() < 128;
}

} // namespace

QXHotKeyClearButton::QXHotKeyClearButton(QWidget* parent) : QAbstractButton(parent)
{
    // Clicking must leave the focus (and so the recording) with the field.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(tr("Clear"));
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_target != nullptr) {
            m_target->deleteHotKey();
        }
    });
}

void QXHotKeyClearButton::setTarget(QXHotKeyTextView* textView)
{
    if (m_target != nullptr && m_target != textView && m_target->deleteButton() == this) {
        m_target->setDeleteButton(nullptr);
    }
    m_target = textView;
    if (textView != nullptr) {
        textView->setDeleteButton(this);
    }
    updateGeometry();
    update();
}

QSize QXHotKeyClearButton::sizeHint() const
{
    const int side = m_target != nullptr ? m_target->sizeHint().height() : 22;
    return {side, side};
}

void QXHotKeyClearButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (QXHotKeyTextView::flatUserInterfaceDrawing()) {
        paintFlat(painter);
    } else {
        paintImage(painter);
    }
}

void QXHotKeyClearButton::paintFlat(QPainter& painter)
{
    const bool dark = isDark(*this);
    const QRectF bounds = rect();
    painter.fillRect(bounds, grey(dark ? 0.3 : 0.82));
    const QRectF inner = bounds.adjusted(1, 1, -1, -1);
    if (isDown()) {
        painter.fillRect(inner, grey(dark ? 0.2 : 0.85));
    } else {
        painter.fillRect(inner, grey(dark ? 0.3 : 0.97));
    }

    // A plus while the field is empty and idle (a click starts recording),
    // else a cross in a circle.
    const bool add = m_target != nullptr && !m_target->hotKey() && !m_target->isRecording();
    const QRectF symbolArea = bounds.adjusted(5, 4, -5, -4);
    const qreal side = std::min(symbolArea.width(), symbolArea.height());
    QRectF symbol(0, 0, side, side);
    symbol.moveCenter(symbolArea.center());
    QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    if (isEnabled()) {
        ink.setAlphaF(0.75f);
    }
    painter.setPen(QPen(ink, std::max<qreal>(1.2, side / 9), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QPointF c = symbol.center();
    if (add) {
        const qreal arm = side * 0.4;
        painter.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
        painter.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
    } else {
        painter.setBrush(ink);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(symbol);
        painter.setPen(QPen(palette().color(QPalette::Base), std::max<qreal>(1.2, side / 9),
                            Qt::SolidLine, Qt::RoundCap));
        const qreal arm = side * 0.2;
        painter.drawLine(QPointF(c.x() - arm, c.y() - arm), QPointF(c.x() + arm, c.y() + arm));
        painter.drawLine(QPointF(c.x() - arm, c.y() + arm), QPointF(c.x() + arm, c.y() - arm));
    }
}

void QXHotKeyClearButton::paintImage(QPainter& painter)
{
    const QPixmap image = namedImage(isEnabled() ? QStringLiteral("QXHotKeyDeleteOn")
                                                 : QStringLiteral("QXHotKeyDeleteOff"),
                                     devicePixelRatioF());
    if (image.isNull()) {
        return;
    }
    const QSizeF size = image.deviceIndependentSize();
    QRectF target(QPointF(0, 0), size);
    target.moveCenter(QRectF(rect()).center());
    painter.drawPixmap(target.topLeft(), image);
    if (isDown()) {
        // Darkened by black at 10 % where the image is drawn.
        QPixmap shade(image.size());
        shade.setDevicePixelRatio(image.devicePixelRatio());
        shade.fill(Qt::transparent);
        QPainter shadePainter(&shade);
        shadePainter.drawPixmap(0, 0, image);
        shadePainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        shadePainter.fillRect(shade.rect(), QColor(0, 0, 0, 26));
        shadePainter.end();
        painter.drawPixmap(target.topLeft(), shade);
    }
}
