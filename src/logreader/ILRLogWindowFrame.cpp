#include "logreader/ILRLogWindowFrame.h"

#include "platform/defaults/UserDefaults.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

// The height a desktop's frame adds above a window's content: unknown before
// the window is mapped, so the style's title bar and a few pixels of border
// stand for it.
int titleBarAllowance()
{
    return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
}

// Coordinates and sizes beyond any desktop; a saved frame with larger ones is
// ignored (its corners could not even be computed).
constexpr int FrameLimit = 1000000;

// A frame read from the settings, or an empty one for anything but four
// whole numbers with a positive size, all within the limit.
QRect savedFrame(const QString& text)
{
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 4) {
        return {};
    }
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).toInt(&ok);
        if (!ok || values[i] < -FrameLimit || values[i] > FrameLimit) {
            return {};
        }
    }
    if (values[2] <= 0 || values[3] <= 0) {
        return {};
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

} // namespace

ILRLogWindowFrame::ILRLogWindowFrame(QWidget* window, const QString& autosaveName)
    : QObject(window), m_window(window),
      m_key(autosaveName.isEmpty() ? QString() : settingsKey(autosaveName)),
      m_saveTimer(new QTimer(this))
{
    // A drag moves the window many times a second; the frame is stored once
    // it rests.
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(300);
    connect(m_saveTimer, &QTimer::timeout, this, &ILRLogWindowFrame::save);
    if (!autosaveName.isEmpty()) {
        window->installEventFilter(this);
    }
}

QString ILRLogWindowFrame::settingsKey(const QString& name)
{
    return QStringLiteral("Window Frame ") + name;
}

QRect ILRLogWindowFrame::clampedFrame(const QRect& saved, const QRect& available)
{
    QRect frame(saved.topLeft(), saved.size().boundedTo(available.size()));
    frame.moveLeft(std::clamp(frame.left(), available.left(),
                              available.left() + available.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), available.top(),
                             available.top() + available.height() - frame.height()));
    return frame;
}

void ILRLogWindowFrame::restoreOrCenter()
{
    const QRect saved = m_key.isEmpty()
                            ? QRect()
                            : savedFrame(platform::UserDefaults::standard().stringForKey(m_key));
    if (saved.isValid()) {
        // A frame saved on a screen that is gone comes back on the main one.
        QScreen* screen = QGuiApplication::screenAt(saved.center());
        if (!screen) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen) {
            const QRect frame = clampedFrame(saved, screen->availableGeometry());
            m_window->resize(frame.size());
            m_window->move(frame.topLeft());
            return;
        }
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        // Centres the whole window, title bar included.
        QRect frame(QPoint(), m_window->size().grownBy({0, titleBarAllowance(), 0, 0}));
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
}

void ILRLogWindowFrame::save()
{
    m_saveTimer->stop();
    if (m_key.isEmpty() || !m_window->isVisible()) {
        return;
    }
    const QRect frame(m_window->pos(), m_window->size());
    const QString text = QStringLiteral("%1 %2 %3 %4")
                             .arg(frame.x())
                             .arg(frame.y())
                             .arg(frame.width())
                             .arg(frame.height());
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (defaults.stringForKey(m_key) != text) {
        defaults.setObject(text, m_key);
    }
}

bool ILRLogWindowFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window->isVisible()) {
                m_saveTimer->start();
            }
            break;
        case QEvent::Close:
            // A move just before closing is kept too.
            save();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
