#include "app/QXSearchHistoryButton.h"

#include "foundation/QXLocalized.h"
#include "platform/log/SystemLog.h"
#include "search/SearchHistory.h"

#include <QEvent>
#include <QShowEvent>

QXSearchHistoryButton::QXSearchHistoryButton(QWidget* parent)
    : QPushButton(QXLocalized::tr("Clear Search History"), parent),
      m_historyPath(SearchHistory::defaultPath())
{
    setObjectName(QStringLiteral("clearSearchHistoryButton"));
    setAccessibleName(text());
    // Nothing is known before the first look.
    setEnabled(false);
    connect(this, &QPushButton::clicked, this, [this] { clearSearchHistory(); });
}

void QXSearchHistoryButton::updateEnabledState()
{
    SearchHistory history(m_historyPath);
    history.load();
    setEnabled(!history.isEmpty());
}

bool QXSearchHistoryButton::clearSearchHistory()
{
    SearchHistory history(m_historyPath);
    if (!history.clear()) {
        platform::systemLog(
            QStringLiteral("[Search] cannot remove the search history %1").arg(m_historyPath));
        return false;
    }
    platform::systemLog(
        QStringLiteral("[Search] cleared the search history %1").arg(m_historyPath));
    setEnabled(false);
    return true;
}

void QXSearchHistoryButton::showEvent(QShowEvent* event)
{
    // Spontaneous shows are the window coming back from being minimised;
    // the activation that follows looks again.
    if (!event->spontaneous()) {
        updateEnabledState();
    }
    QPushButton::showEvent(event);
}

bool QXSearchHistoryButton::event(QEvent* event)
{
    // The window passes its activation on to its visible children.
    if (event->type() == QEvent::WindowActivate && isVisible()) {
        updateEnabledState();
    }
    return QPushButton::event(event);
}
