#include "services/QXLoginItemSwitch.h"

#include "platform/loginitems/LoginItems.h"
#include "services/QXLoginItem.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>

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
    // An answer that arrives after the switch (the portal may ask the user
    // first) shows at once.
    platform::LoginItems::current().addChangeObserver(this, [this] { showLoginItemState(); });
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
    showLoginItemState();
}

void QXLoginItemSwitch::showLoginItemState()
{
    const QXLoginItem::State state = QXLoginItem::loginItemState();
    setChecked(state.on);
    setEnabled(state.changeable);
}

void QXLoginItemSwitch::setLoginItemViaState()
{
    const bool wanted = isChecked();
    const bool switched = QXLoginItem::setLoginItemEnabled(wanted);
    // The state that holds now, not the one asked for: a switch that is only
    // requested (the portal answers later) shows when its answer comes.
    showLoginItemState();
    if (!switched) {
        showFailure(wanted);
    }
}

void QXLoginItemSwitch::showFailure(bool wanted)
{
    delete m_failureAlert;
    const QString text = wanted ? tr("Trovix could not be set to start when you log in.")
                                : tr("Trovix could not be kept from starting when you log in.");
    m_failureAlert = new QMessageBox(QMessageBox::Warning, text, text, QMessageBox::Ok, window());
    m_failureAlert->setTextFormat(Qt::PlainText);
    // The reason names files and system messages: text, never markup.
    m_failureAlert->setInformativeText(QXLoginItem::failureReason());
    if (auto* informative =
            m_failureAlert->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        informative->setTextFormat(Qt::PlainText);
    }
    m_failureAlert->setAccessibleName(text);
    if (QAbstractButton* ok = m_failureAlert->button(QMessageBox::Ok)) {
        ok->setAccessibleName(ok->text());
    }
    m_failureAlert->setAttribute(Qt::WA_DeleteOnClose);
    // Without a nested event loop: the main thread goes on.
    m_failureAlert->open();
}
