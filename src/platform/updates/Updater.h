#pragma once

#include "platform/updates/Appcast.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

namespace platform {

class Updater;

// What the updater tells its delegate, on the main thread. A check that
// reaches a result calls updaterDidFinishLoadingAppcast first, then one of
// the two results; a check that fails calls updaterDidAbort only.
class UpdaterDelegate
{
public:
    virtual ~UpdaterDelegate() = default;

    // The feed was loaded and read; a result follows.
    virtual void updaterDidFinishLoadingAppcast(Updater& updater) = 0;
    // A newer version is available.
    virtual void updaterDidFindValidUpdate(Updater& updater, const AppcastItem& item) = 0;
    // The program is up to date.
    virtual void updaterDidNotFindUpdate(Updater& updater) = 0;
    // A check on the schedule found only the version the user chose to
    // skip. A delegate that does not tell the two apart hears "up to date".
    virtual void updaterDidFindSkippedUpdate(Updater& updater, const AppcastItem& item)
    {
        Q_UNUSED(item);
        updaterDidNotFindUpdate(updater);
    }
    // The check could not reach a result; message says why, for people.
    virtual void updaterDidAbort(Updater& updater, const QString& message) = 0;

protected:
    UpdaterDelegate() = default;
    UpdaterDelegate(const UpdaterDelegate&) = default;
    UpdaterDelegate& operator=(const UpdaterDelegate&) = default;
};

// The settings the updater keeps for itself, in the program's settings.
namespace UpdaterSettingsKeys {
// The feed's address; overrides the bundle's information key of that name.
inline const QString FeedURL = QStringLiteral("SUFeedURL");
inline const QString EnableAutomaticChecks = QStringLiteral("SUEnableAutomaticChecks");
// Seconds between automatic checks (one day when absent, at least an hour).
inline const QString ScheduledCheckInterval = QStringLiteral("SUScheduledCheckInterval");
// Seconds since 1970 of the last check that ran.
inline const QString LastCheckTime = QStringLiteral("SULastCheckTime");
// The version the user chose to skip; automatic checks stay quiet about it.
inline const QString SkippedVersion = QStringLiteral("SUSkippedVersion");
} // namespace UpdaterSettingsKeys

// Checks an update feed for a newer version of the program and tells: it
// never downloads or replaces the program's files. All its network work is
// asynchronous; every call returns at once.
class Updater : public QObject
{
    Q_OBJECT

public:
    ~Updater() override;

    // The process-wide updater: the appcast one over the network unless
    // another was installed.
    static Updater& current();
    // Replaces the process-wide updater (tests install the memory one).
    static void setCurrent(std::unique_ptr<Updater> updater);

    // The feed's address: the "SUFeedURL" setting when it holds text, else
    // the bundle's "SUFeedURL" information key.
    static QUrl configuredFeedURL();

    // Not owned: the delegate must outlive the updater or be reset.
    UpdaterDelegate* delegate() const { return m_delegate; }
    void setDelegate(UpdaterDelegate* delegate) { m_delegate = delegate; }

    // Whether checks run on their own on a schedule; the updater keeps the
    // value itself. Switching it on or off restarts the schedule.
    virtual bool automaticallyChecksForUpdates() const = 0;
    virtual void setAutomaticallyChecksForUpdates(bool automatic) = 0;
    // (Re)starts the schedule of automatic checks from the last check.
    virtual void resetUpdateCycle() = 0;
    // A check the user asked for, with the updater's own windows: the update
    // window when there is a new version, a message when there is none or
    // the check failed.
    virtual void checkForUpdates() = 0;
    // A check without any window: only the delegate hears of it.
    virtual void checkForUpdateInformation() = 0;
    // Whether a check is loading its feed now.
    virtual bool isChecking() const = 0;

Q_SIGNALS:
    // A check has ended, and every window it opened has been closed.
    void checkFinished();

protected:
    Updater() = default;

private:
    UpdaterDelegate* m_delegate = nullptr;
};

} // namespace platform
