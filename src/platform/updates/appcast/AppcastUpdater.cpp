#include "platform/updates/appcast/AppcastUpdater.h"

#include "platform/bundle/Bundle.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/log/SystemLog.h"
#include "platform/updates/FeedUrlPolicy.h"
#include "platform/updates/UpdateSchedule.h"
#include "platform/updates/appcast/FeedDownload.h"
#include "platform/updates/appcast/UpdateAlertWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QTextDocument>

namespace platform {
namespace {

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

QString applicationName()
{
    const QString name = Bundle::main().name();
    return name.isEmpty() ? QStringLiteral("Trovix") : name;
}

QString currentDisplayVersion(const QString& fallback)
{
    const QString shortVersion = Bundle::main().shortVersionString();
    return shortVersion.isEmpty() ? fallback : shortVersion;
}

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

// A timer fires at most this far ahead; when it fires early the schedule is
// worked out again, so very long intervals and clock changes are handled.
constexpr qint64 longestTimerSeconds = 6 * 60 * 60;

// An address as the log shows it: no credentials, query or fragment.
QString shownAddress(const QUrl& url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment);
}

} // namespace

AppcastUpdater::AppcastUpdater(const QString& currentVersion)
    : m_currentVersion(currentVersion), m_automaticChecks(automaticallyChecksForUpdates())
{
    m_scheduleTimer.setSingleShot(true);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &AppcastUpdater::scheduledCheckDue);
    // Automatic checks switched in another process (`trovix defaults write
    // SUEnableAutomaticChecks`) start or stop the schedule here at once.
    connect(&defaults(), &UserDefaults::didChange, this, [this] {
        if (automaticallyChecksForUpdates() != m_automaticChecks) {
            resetUpdateCycle();
        }
    });
}

AppcastUpdater::~AppcastUpdater()
{
    // Windows and the network belong to the application object's life: an
    // updater that outlives it (a process-wide one at exit) finds them gone
    // with it, as the application object deletes the network as its child.
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    delete m_network;
    delete m_alertWindow;
    delete m_messageBox;
}

bool AppcastUpdater::canShowWindows()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void AppcastUpdater::setNetworkForTesting(QNetworkAccessManager* network)
{
    delete m_network;
    m_network = network;
}

QNetworkAccessManager& AppcastUpdater::network()
{
    // Made on first use, so a program that never checks opens no network.
    if (m_network == nullptr) {
        // A child of the application object, so that it is deleted while Qt
        // still runs even when this updater lives until the process exits.
        m_network = new QNetworkAccessManager(QCoreApplication::instance());
    }
    return *m_network;
}

bool AppcastUpdater::automaticallyChecksForUpdates() const
{
    return defaults().boolForKey(UpdaterSettingsKeys::EnableAutomaticChecks);
}

void AppcastUpdater::setAutomaticallyChecksForUpdates(bool automatic)
{
    defaults().setBool(automatic, UpdaterSettingsKeys::EnableAutomaticChecks);
    resetUpdateCycle();
}

void AppcastUpdater::resetUpdateCycle()
{
    m_scheduleTimer.stop();
    m_automaticChecks = automaticallyChecksForUpdates();
    if (!m_automaticChecks) {
        return;
    }
    const qint64 interval = UpdateSchedule::effectiveInterval(
        defaults().integerForKey(UpdaterSettingsKeys::ScheduledCheckInterval));
    std::optional<qint64> lastCheck;
    if (defaults().hasStoredValue(UpdaterSettingsKeys::LastCheckTime)) {
        lastCheck = defaults().integerForKey(UpdaterSettingsKeys::LastCheckTime);
    } else {
        // The first check comes one interval after automatic checks began.
        defaults().setInteger(now(), UpdaterSettingsKeys::LastCheckTime);
        lastCheck = now();
    }
    const qint64 wait = UpdateSchedule::secondsUntilNextCheck(lastCheck, now(), interval);
    m_scheduleTimer.start(static_cast<int>(qMin(wait, longestTimerSeconds) * 1000));
}

void AppcastUpdater::scheduledCheckDue()
{
    const qint64 interval = UpdateSchedule::effectiveInterval(
        defaults().integerForKey(UpdaterSettingsKeys::ScheduledCheckInterval));
    const qint64 lastCheck = defaults().integerForKey(UpdaterSettingsKeys::LastCheckTime);
    if (!automaticallyChecksForUpdates()) {
        return;
    }
    if (UpdateSchedule::secondsUntilNextCheck(lastCheck, now(), interval) > 0) {
        resetUpdateCycle();
        return;
    }
    startCheck(CheckKind::Scheduled);
}

void AppcastUpdater::checkForUpdates()
{
    // A window already on screen is brought forward rather than checked anew.
    if (m_alertWindow && m_alertWindow->isVisible()) {
        m_alertWindow->raise();
        m_alertWindow->activateWindow();
        return;
    }
    startCheck(CheckKind::UserInitiated);
}

void AppcastUpdater::checkForUpdateInformation()
{
    startCheck(CheckKind::Information);
}

void AppcastUpdater::startCheck(CheckKind kind)
{
    if (m_download != nullptr) {
        // One load at a time; a check the user asks for takes over the
        // quieter one under way, so its outcome is shown.
        if (kind == CheckKind::UserInitiated) {
            m_kind = kind;
        }
        return;
    }
    m_scheduleTimer.stop();
    m_kind = kind;
    m_feedURL = configuredFeedURL();
    m_download = new FeedDownload(network(), m_feedURL, this);
    connect(m_download, &FeedDownload::finished, this,
            [this](bool ok, const QByteArray& body, const QString&, const QString& message) {
                m_download->deleteLater();
                m_download = nullptr;
                feedFinished(ok, body, message);
            });
    m_download->start();
}

void AppcastUpdater::feedFinished(bool ok, const QByteArray& body, const QString& message)
{
    // Whatever the outcome, the next scheduled check is a whole interval away.
    defaults().setInteger(now(), UpdaterSettingsKeys::LastCheckTime);
    resetUpdateCycle();
    if (!ok) {
        reportFailure(message);
        return;
    }
    QString error;
    const std::optional<QList<AppcastItem>> items = parseAppcast(body, &error);
    if (!items) {
        reportFailure(error);
        return;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFinishLoadingAppcast(*this);
    }
    std::optional<AppcastItem> update = availableUpdate(*items, m_currentVersion);
    if (update && m_kind == CheckKind::Scheduled &&
        update->version == defaults().stringForKey(UpdaterSettingsKeys::SkippedVersion)) {
        // Quiet: no window for the version the user skipped, only the news.
        if (delegate() != nullptr) {
            delegate()->updaterDidFindSkippedUpdate(*this, *update);
        }
        finishWhenWindowsClosed();
        return;
    }
    if (!update) {
        if (delegate() != nullptr) {
            delegate()->updaterDidNotFindUpdate(*this);
        }
        if (m_kind == CheckKind::UserInitiated && canShowWindows()) {
            showMessage(QCoreApplication::translate("Trovix", "You’re up to date!"),
                        QCoreApplication::translate(
                            "Trovix", "%1 %2 is currently the newest version available.")
                            .arg(applicationName(), currentDisplayVersion(m_currentVersion)),
                        false);
        }
        finishWhenWindowsClosed();
        return;
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidFindValidUpdate(*this, *update);
    }
    if (m_kind != CheckKind::Information && canShowWindows()) {
        showUpdate(*update);
    }
    finishWhenWindowsClosed();
}

void AppcastUpdater::reportFailure(const QString& message)
{
    if (m_kind == CheckKind::UserInitiated && canShowWindows()) {
        showMessage(QCoreApplication::translate("Trovix", "Trovix could not check for updates."),
                    message, true);
    } else if (m_kind == CheckKind::Scheduled) {
        systemLog(QStringLiteral("[Updates] automatic check failed: ") + message);
    }
    if (delegate() != nullptr) {
        delegate()->updaterDidAbort(*this, message);
    }
    finishWhenWindowsClosed();
}

void AppcastUpdater::showUpdate(const AppcastItem& item)
{
    if (!m_alertWindow) {
        m_alertWindow =
            new UpdateAlertWindow(applicationName(), currentDisplayVersion(m_currentVersion));
        connect(m_alertWindow, &UpdateAlertWindow::chosen, this,
                [this](UpdateAlertWindow::Choice choice) {
                    if (choice == UpdateAlertWindow::Choice::Skip && m_alertWindow) {
                        defaults().setObject(m_alertWindow->item().version,
                                             UpdaterSettingsKeys::SkippedVersion);
                    }
                    finishWhenWindowsClosed();
                });
    }
    m_alertWindow->setItem(item);
    if (item.description.isEmpty() && !item.releaseNotesLink.isEmpty()) {
        loadReleaseNotes(item);
    }
    m_alertWindow->show();
    // The window the user asked for takes the focus; one from a scheduled
    // check waits until the user turns to it.
    if (m_kind == CheckKind::UserInitiated) {
        m_alertWindow->raise();
        m_alertWindow->activateWindow();
    }
}

void AppcastUpdater::loadReleaseNotes(const AppcastItem& item)
{
    delete m_releaseNotesDownload;
    m_releaseNotesDownload = nullptr;
    // A relative link names a page beside the feed.
    const QUrl notes = m_feedURL.resolved(item.releaseNotesLink);
    if (!FeedUrlPolicy::isAllowedReleaseNotes(m_feedURL, notes)) {
        systemLog(QStringLiteral("[Updates] release notes not loaded: %1 is not allowed for a "
                                 "feed from %2")
                      .arg(shownAddress(notes), shownAddress(m_feedURL)));
        if (m_alertWindow) {
            m_alertWindow->setReleaseNotesUnavailable();
        }
        return;
    }
    m_releaseNotesDownload = new FeedDownload(network(), notes, this);
    const QString version = item.version;
    connect(m_releaseNotesDownload, &FeedDownload::finished, this,
            [this, version](bool ok, const QByteArray& body, const QString& contentType,
                            const QString&) {
                m_releaseNotesDownload->deleteLater();
                m_releaseNotesDownload = nullptr;
                // The window may show another version by now.
                if (!m_alertWindow || m_alertWindow->item().version != version) {
                    return;
                }
                if (!ok) {
                    m_alertWindow->setReleaseNotesUnavailable();
                    return;
                }
                const QString text = QString::fromUtf8(body);
                m_alertWindow->setReleaseNotes(
                    text, contentType.contains(QLatin1String("html"), Qt::CaseInsensitive) ||
                              Qt::mightBeRichText(text));
            });
    m_releaseNotesDownload->start();
}

void AppcastUpdater::showMessage(const QString& text, const QString& informativeText, bool warning)
{
    delete m_messageBox;
    m_messageBox = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                   QCoreApplication::translate("Trovix", "Software Update"), text,
                                   QMessageBox::Ok);
    // The texts may quote the feed or the server: text, never markup.
    m_messageBox->setTextFormat(Qt::PlainText);
    m_messageBox->setInformativeText(informativeText);
    if (auto* informative =
            m_messageBox->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        informative->setTextFormat(Qt::PlainText);
    }
    m_messageBox->setAccessibleName(QCoreApplication::translate("Trovix", "Software Update"));
    m_messageBox->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_messageBox, &QMessageBox::finished, this, [this] { finishWhenWindowsClosed(); });
    // Shown without a nested event loop: the main thread goes on.
    m_messageBox->open();
}

void AppcastUpdater::finishWhenWindowsClosed()
{
    const bool windowOpen = (m_alertWindow && m_alertWindow->isVisible()) ||
                            (m_messageBox && m_messageBox->isVisible());
    if (windowOpen || m_download != nullptr) {
        return;
    }
    Q_EMIT checkFinished();
}

} // namespace platform
