#pragma once

#include "platform/updates/Updater.h"
#include "platform/updates/appcast/UpdateAlertWindow.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <memory>

class QMessageBox;
class QNetworkAccessManager;

namespace platform {

class FeedDownload;

// The updater over the network: loads the appcast from the feed address with
// QNetworkAccessManager (FeedDownload's guards), picks the newest version for
// this computer and compares it with the running program's bundle version.
// Keeps its settings (automatic checks, interval, last check, skipped version)
// in the program's settings.
class AppcastUpdater : public Updater
{
    Q_OBJECT

public:
    // currentVersion is the running program's CFBundleVersion.
    explicit AppcastUpdater(const QString& currentVersion);
    ~AppcastUpdater() override;

    bool automaticallyChecksForUpdates() const override;
    void setAutomaticallyChecksForUpdates(bool automatic) override;
    void resetUpdateCycle() override;
    void checkForUpdates() override;
    void checkForUpdateInformation() override;
    bool isChecking() const override { return m_download != nullptr; }

    // Loads through network instead of a manager of its own, which the
    // updater then owns (tests serve addresses from memory this way).
    void setNetworkForTesting(QNetworkAccessManager* network);

    // The window of the last update found, while it is open.
    UpdateAlertWindow* updateAlertWindow() const { return m_alertWindow; }
    // Whether an automatic check is scheduled.
    bool hasScheduledCheck() const { return m_scheduleTimer.isActive(); }

private:
    enum class CheckKind
    {
        // On the schedule: failures go to the log, an update shows its window.
        Scheduled,
        // Asked for without windows: only the delegate hears of it.
        Information,
        // Asked for by the user: every outcome is shown.
        UserInitiated
    };

    void startCheck(CheckKind kind);
    void feedFinished(bool ok, const QByteArray& body, const QString& message);
    void reportFailure(const QString& message);
    void showUpdate(const AppcastItem& item);
    void loadReleaseNotes(const AppcastItem& item);
    void showMessage(const QString& text, const QString& informativeText, bool warning);
    void finishWhenWindowsClosed();
    void scheduledCheckDue();
    QNetworkAccessManager& network();
    // Windows need a widget application; a command-line check has none.
    static bool canShowWindows();

    QString m_currentVersion;
    CheckKind m_kind = CheckKind::Scheduled;
    // The feed address of the last check; what its release notes may name
    // depends on it.
    QUrl m_feedURL;
    // The load under way; none between checks.
    FeedDownload* m_download = nullptr;
    FeedDownload* m_releaseNotesDownload = nullptr;
    QPointer<QNetworkAccessManager> m_network;
    QTimer m_scheduleTimer;
    // Automatic checks as the schedule was last set up for.
    bool m_automaticChecks = false;
    QPointer<UpdateAlertWindow> m_alertWindow;
    QPointer<QMessageBox> m_messageBox;
    bool m_waitingForWindows = false;
};

} // namespace platform
