#include "app/QXSettingsFileNotice.h"
#include "platform/defaults/UserDefaults.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using platform::UserDefaults;

class SettingsFileNoticeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The user hears once per run that settings could not be opened, and
    // not at all when they could.
    void anUnopenableSettingsFileIsAnnouncedOnce()
    {
        QList<QPair<QString, QString>> notices;
        QXSettingsFileNotice::setPresenterForTesting(
            [&notices](const QString& title, const QString& text) {
                notices.append({title, text});
            });
        QTemporaryDir dir;
        const UserDefaults readable(dir.filePath(QStringLiteral("readable.plist")));
        QVERIFY(!QXSettingsFileNotice::announce(readable));

        const QString folder = dir.filePath(QStringLiteral("folder.plist"));
        QVERIFY(QDir().mkdir(folder));
        const UserDefaults unopenable(folder);
        QVERIFY(QXSettingsFileNotice::announce(unopenable));
        QVERIFY(!QXSettingsFileNotice::announce(unopenable));
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices.first().first, QStringLiteral("Settings Cannot Be Opened"));
        QVERIFY(notices.first().second.contains(folder));
        QVERIFY(notices.first().second.contains(unopenable.fileUnavailableReason()));
        QXSettingsFileNotice::setPresenterForTesting({});
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsFileNoticeTest)
#include "settings_file_notice_test.moc"
