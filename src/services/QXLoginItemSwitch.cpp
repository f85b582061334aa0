#include "services/QXLoginItemSwitch.h"

#include "services/QXLoginItem.h"

#include <QDateTime>
#include <QEvent>

namespace {

// Seconds from the Unix epoch to 1 January 2001.
constexpr qint64 referenceDateOffset = 978307200;
constexpr qint64 refreshInterval = 2;

QXLoginItemSwitch::Clock& installedClock()
{
    static QXLoginItemSwitch::Clock clock;
    return clock;
}

qint64 now()
{
    if (installedClock()) {
        return installedClock()();
    }
    return QDateTime::currentSecsSinceEpoch() - referenceDateOffset;
}

} // namespace

QXLoginItemSwitch::QXLoginItemSwitch(QWidget* parent) : QCheckBox(parent)
{
    setText(tr("Start Trovix when you log in"));
    setObjectName(QStringLiteral("loginItemSwitch"));
    setAccessibleName(tr("Start Trovix when you log in"));
    // A parent given here arrives without a parent-change event.
    if (parent) {
        viewWillMoveToWindow(window());
    }
}

QXLoginItemSwitch::~QXLoginItemSwitch()
{
    setUpdatesLoginItemStateOnMainWindowStatusChangeForWindow(nullptr);
}

void QXLoginItemSwitch::setClock(Clock newClock)
{
    installedClock() = std::move(newClock);
}

bool QXLoginItemSwitch::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        // Without a parent the check box is its own window: it has left
        // every window it could refresh for.
        viewWillMoveToWindow(parentWidget() ? window() : nullptr);
    }
    return QCheckBox::event(event);
}

void QXLoginItemSwitch::viewWillMoveToWindow(QWidget* window)
{
    if (!window) {
        setUpdatesLoginItemStateOnMainWindowStatusChangeForWindow(nullptr);
        return;
    }
    if (!m_hasAction) {
        m_hasAction = true;
        connect(this, &QCheckBox::clicked, this, &QXLoginItemSwitch::setLoginItemViaState);
    }
    updateLoginItemState();
    setUpdatesLoginItemStateOnMainWindowStatusChangeForWindow(window);
}

void QXLoginItemSwitch::setUpdatesLoginItemStateOnMainWindowStatusChangeForWindow(QWidget* window)
{
    if (m_observedWindow == window) {
        return;
    }
    if (m_observedWindow) {
        m_observedWindow->removeEventFilter(this);
    }
    m_observedWindow = window;
    if (window) {
        window->installEventFilter(this);
    }
}

bool QXLoginItemSwitch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && watched == m_observedWindow) {
        updateLoginItemState(m_observedWindow);
    }
    return QCheckBox::eventFilter(watched, event);
}

void QXLoginItemSwitch::updateLoginItemState(const QWidget* activatedWindow)
{
    if (activatedWindow && activatedWindow != window()) {
        return;
    }
    const qint64 timestamp = now();
    if (timestamp < m_lastUpdateTimestamp + refreshInterval) {
        return;
    }
    m_lastUpdateTimestamp = timestamp;
    const QXLoginItem::State state = QXLoginItem::loginItemState();
    setChecked(state.on);
    setEnabled(state.changeable);
}

void QXLoginItemSwitch::setLoginItemViaState()
{
    QXLoginItem::setLoginItemEnabled(isChecked());
}
