#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyList.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::UserDefaults;

class SettingsExternalChangeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anotherStoresWriteIsPickedUp()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults mine(path);
        mine.setInteger(1, QStringLiteral("Mine"));
        QVERIFY(mine.synchronize());

        UserDefaults other(path);
        QCOMPARE(other.integerForKey(QStringLiteral("Mine")), 1);
        QSignalSpy changes(&mine, &UserDefaults::didChange);
        other.setObject(QStringLiteral("from elsewhere"), QStringLiteral("Theirs"));
        QVERIFY(other.synchronize());

        QVERIFY(changes.wait());
        QCOMPARE(mine.stringForKey(QStringLiteral("Theirs")), QStringLiteral("from elsewhere"));
        QCOMPARE(mine.integerForKey(QStringLiteral("Mine")), 1);
    }

    void aPlainRewriteOfTheFileIsPickedUp()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        defaults.setBool(true, QStringLiteral("Flag"));
        QVERIFY(defaults.synchronize());
        QSignalSpy changes(&defaults, &UserDefaults::didChange);

        // An editor that truncates and rewrites in place, not by renaming.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(platform::plist::toXml(
            QVariantMap{{QStringLiteral("Flag"), false}, {QStringLiteral("Size"), 12}}));
        file.close();

        QVERIFY(changes.wait());
        QCOMPARE(defaults.boolForKey(QStringLiteral("Flag")), false);
        QCOMPARE(defaults.integerForKey(QStringLiteral("Size")), 12);
        // The file was read as a whole: one report, not one per event.
        QTest::qWait(400);
        QCOMPARE(changes.count(), 1);
    }

    void removingTheFileClearsStoredValues()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        defaults.registerDefaults({{QStringLiteral("Flag"), true}});
        defaults.setBool(false, QStringLiteral("Flag"));
        QVERIFY(defaults.synchronize());
        QSignalSpy changes(&defaults, &UserDefaults::didChange);
        QVERIFY(QFile::remove(path));
        QVERIFY(changes.wait());
        QVERIFY(defaults.persistentDomain().isEmpty());
        QCOMPARE(defaults.boolForKey(QStringLiteral("Flag")), true);
    }

    // While a change made here waits for its write, another process changes
    // the file: each key keeps the value its last writer gave it.
    void pendingChangesSurviveAReloadPerKey()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults mine(path);
        mine.setInteger(1, QStringLiteral("Shared"));
        mine.setInteger(1, QStringLiteral("Untouched"));
        QVERIFY(mine.synchronize());

        mine.setInteger(2, QStringLiteral("Shared"));
        mine.removeObjectForKey(QStringLiteral("Untouched"));
        // Written behind our back before our write happens.
        QVERIFY(platform::plist::writeFile(
            path, QVariantMap{{QStringLiteral("Shared"), 3},
                              {QStringLiteral("Untouched"), 1},
                              {QStringLiteral("Theirs"), QStringLiteral("new")}}));
        QVERIFY(mine.synchronize());

        QCOMPARE(mine.integerForKey(QStringLiteral("Shared")), 2);
        QVERIFY(!mine.hasStoredValue(QStringLiteral("Untouched")));
        QCOMPARE(mine.stringForKey(QStringLiteral("Theirs")), QStringLiteral("new"));
        const QVariantMap onDisk = platform::plist::readFile(path)->toMap();
        QCOMPARE(onDisk, mine.persistentDomain());
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsExternalChangeTest)
#include "settings_external_change_test.moc"
