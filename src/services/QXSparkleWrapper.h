#pragma once

#include "platform/menus/MenuDelegate.h"
#include "platform/updates/Updater.h"

#include <QAbstractButton>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>
#include <optional>

// The one object through which the program's menus and its preferences
// window start update checks, switch automatic checking and show the result
// of the last check. It keeps that result in the settings as the status
// record "QXSparkleWrapper Status" ("Current Version", "Update Version",
// "Check Date", and "Skipped Version" when the version found is one the user
// chose to skip), filled from the updater's callbacks, and follows the
// stored record and the automatic-checks setting when another process
// writes them. A check that fails leaves the record as it was.
class QXSparkleWrapper : public QObject,
                         public platform::UpdaterDelegate,
                         public platform::MenuDelegate
{
    Q_OBJECT

public:
    // The process-wide wrapper. On creation it becomes the updater's
    // delegate on the next pass of the event loop, which also starts the
    // schedule of automatic checks.
    static QXSparkleWrapper& sharedSparkleWrapper();
    QXSparkleWrapper(const QXSparkleWrapper&) = delete;
    QXSparkleWrapper& operator=(const QXSparkleWrapper&) = delete;

    static platform::Updater& sharedSparkleUpdater();
    // Takes over as the updater's delegate and restarts its schedule, once.
    void becomeSparkleDelegate();

    // Actions. A check the user asked for, with the updater's own windows.
    void checkForUpdates(QObject* sender = nullptr);
    // A check whose outcome only the status record (and statusRecorded() or
    // checkAborted()) tells.
    void checkForUpdateInformation();
    // Inverts automatic checking; a check box other than the sender is set
    // to the new value.
    void toggleAutomaticChecking(QObject* sender = nullptr);
    bool checksAutomatically() const;
    // Opens the product page: the sender's tool tip, else the address made
    // from the program's name. Beeps when there is none or the sender has no
    // tool tip to ask.
    void visitProductPage(QObject* sender);

    // The status record, loaded from the settings on first use.
    QVariantMap status();
    // Records a result: a version found, an empty string for "up to date",
    // or nothing to forget the version found. skipped: the version found is
    // the one the user chose to skip.
    void setUpdateVersion(const std::optional<QString>& version, bool skipped = false);
    // The two display lines; null strings when there is nothing to show.
    QString statusDescription();
    QString statusDateDescription();
    // Brings the connected controls up to date with the record and the
    // updater.
    void updateControls();

    // Controls of the preferences window; any may be absent. The check box
    // is what updateControls() requires before it changes anything.
    void setAutoUpdateCheckingSwitch(QAbstractButton* checkBox)
    {
        m_autoUpdateCheckingSwitch = checkBox;
    }
    void setStatusTextField(QLabel* label) { m_statusTextField = label; }
    void setStatusDateTextField(QLabel* label) { m_statusDateTextField = label; }
    QAbstractButton* autoUpdateCheckingSwitch() const { return m_autoUpdateCheckingSwitch; }

    // Menu delegate: keeps the leading items with non-zero tags and appends
    // the update commands and the status lines.
    void menuNeedsUpdate(platform::Menu& menu) override;

    // The program's short version string; a null string when the bundle has
    // none.
    static QString currentShortVersionString();
    // The product page made from the program's name ("Trovix" gives
    // https://www.quirkworks.com/trovix); empty without a name.
    static QString productPageAddress();
    // The maker's web site, ending in a slash.
    static QString productPageBaseAddress();

    // Updater callbacks.
    void updaterDidFinishLoadingAppcast(platform::Updater& updater) override;
    void updaterDidFindValidUpdate(platform::Updater& updater,
                                   const platform::AppcastItem& item) override;
    void updaterDidNotFindUpdate(platform::Updater& updater) override;
    void updaterDidFindSkippedUpdate(platform::Updater& updater,
                                     const platform::AppcastItem& item) override;
    void updaterDidAbort(platform::Updater& updater, const QString& message) override;

    // Tests: replaces the short version the wrapper sees (nothing: the
    // bundle's again; an empty string: no version), and forgets the loaded
    // record and the delegate set-up.
    static void setCurrentShortVersionStringForTesting(std::optional<QString> version);
    void resetForTesting();

Q_SIGNALS:
    // The controls show new texts: the window holding them may resize.
    void controlsUpdated();
    // A result was written to the status record.
    void statusRecorded();
    // A check ended without a result; message says why.
    void checkAborted(const QString& message);

private:
    QXSparkleWrapper();
    void updaterDidNotFindUpdateFallback();

    std::optional<QVariantMap> m_status;
    QMetaObject::Connection m_statusObserver;
    QTimer m_fallbackTimer;
    bool m_isDelegate = false;
    QPointer<QAbstractButton> m_autoUpdateCheckingSwitch;
    QPointer<QLabel> m_statusTextField;
    QPointer<QLabel> m_statusDateTextField;
};
