#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyList.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::UserDefaults;

namespace {

QVariantMap fileContents(const QString& path)
{
    const auto value = platform::plist::readFile(path);
    return value ? value->toMap() : QVariantMap();
}

} // namespace

class SettingsPersistenceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changesAreWrittenOnceAfterTheEventLoopPass()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        defaults.registerDefaults({{QStringLiteral("Registered"), true}});
        defaults.setInteger(1, QStringLiteral("A"));
        defaults.setBool(true, QStringLiteral("B"));
        defaults.setObject(QStringLiteral("text"), QStringLiteral("C"));
        // Nothing is written while the changes are being made.
        QVERIFY(!QFileInfo::exists(path));

        QCoreApplication::processEvents();
        const QVariantMap written = fileContents(path);
        QCOMPARE(written.size(), 3);
        QCOMPARE(written.value(QStringLiteral("A")), QVariant(qlonglong(1)));
        QCOMPARE(written.value(QStringLiteral("B")), QVariant(true));
        QCOMPARE(written.value(QStringLiteral("C")), QVariant(QStringLiteral("text")));
        // Registered values stay in memory.
        QVERIFY(!written.contains(QStringLiteral("Registered")));

        // Passes without changes (and the watcher seeing our own write) leave
        // the file alone.
        const QDateTime firstWrite = QFileInfo(path).lastModified();
        QTest::qWait(120);
        QCOMPARE(QFileInfo(path).lastModified(), firstWrite);

        defaults.removeObjectForKey(QStringLiteral("A"));
        QCoreApplication::processEvents();
        QVERIFY(!fileContents(path).contains(QStringLiteral("A")));
    }

    void createsTheFolderAndFlushesOnDestruction()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config/deeper/s.plist"));
        {
            UserDefaults defaults(path);
            defaults.setObject(QStringLiteral("kept"), QStringLiteral("Key"));
        }
        QCOMPARE(fileContents(path).value(QStringLiteral("Key")).toString(),
                 QStringLiteral("kept"));

        UserDefaults reopened(path);
        QCOMPARE(reopened.stringForKey(QStringLiteral("Key")), QStringLiteral("kept"));
    }

    void reportsOwnChangesButNotNoOps()
    {
        QTemporaryDir dir;
        UserDefaults defaults(dir.filePath(QStringLiteral("s.plist")));
        QSignalSpy changes(&defaults, &UserDefaults::didChange);
        defaults.setBool(true, QStringLiteral("Flag"));
        QCOMPARE(changes.count(), 1);
        defaults.setBool(true, QStringLiteral("Flag"));
        QCOMPARE(changes.count(), 1);
        // Same number, other type: a change (the file would say <integer>).
        defaults.setInteger(1, QStringLiteral("Flag"));
        QCOMPARE(changes.count(), 2);
        defaults.removeObjectForKey(QStringLiteral("Flag"));
        defaults.removeObjectForKey(QStringLiteral("Flag"));
        QCOMPARE(changes.count(), 3);
        // Our own write, seen by the file watcher, is no outside change.
        QVERIFY(defaults.synchronize());
        QVERIFY(!changes.wait(400));
        QCOMPARE(changes.count(), 3);
    }

    void standardStoreFollowsTheConfigurationFolder()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        UserDefaults::setStandard(
            std::make_unique<UserDefaults>(dir.filePath(QStringLiteral("t"))));
        QCOMPARE(UserDefaults::standard().filePath(), dir.filePath(QStringLiteral("t")));
        // Resetting makes the next use create the store at the usual place.
        UserDefaults::setStandard(nullptr);
        QCOMPARE(UserDefaults::standard().filePath(),
                 dir.filePath(QStringLiteral("com.quirkworks.Trovix.plist")));
        UserDefaults::setStandard(nullptr);
        qunsetenv("XDG_CONFIG_HOME");
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsPersistenceTest)
#include "settings_persistence_test.moc"
