#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyList.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using platform::UserDefaults;

namespace {

enum class Obstacle
{
    Folder,
    Fifo
};

// Puts something that cannot be read as a file at path. Tests run as root,
// who may open any plain file, so the obstacles are ones root cannot read
// either; a FIFO without a writer would also block a plain open for ever.
bool placeObstacle(Obstacle obstacle, const QString& path)
{
    switch (obstacle) {
    case Obstacle::Folder:
        return QDir().mkdir(path);
    case Obstacle::Fifo:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    }
    return false;
}

bool obstacleIntact(Obstacle obstacle, const QString& path)
{
    const QFileInfo info(path);
    switch (obstacle) {
    case Obstacle::Folder:
        return info.isDir() && QDir(path).isEmpty();
    case Obstacle::Fifo: {
        struct stat status = {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
               S_ISFIFO(status.st_mode);
    }
    }
    return false;
}

QStringList entriesOf(const QTemporaryDir& dir)
{
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)

class SettingsUnavailableFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Something that cannot be opened stands where the settings file should
    // be: the program runs on its defaults, says so once, and leaves it
    // exactly as it is however many settings change in the session.
    void unopenableFileIsKeptAndNeverWritten_data()
    {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("folder") << Obstacle::Folder;
        QTest::newRow("fifo") << Obstacle::Fifo;
    }
    void unopenableFileIsKeptAndNeverWritten()
    {
        QFETCH(Obstacle, obstacle);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        QVERIFY(placeObstacle(obstacle, path));

        LogCapture log;
        {
            UserDefaults defaults(path);
            defaults.registerDefaults({{QStringLiteral("Application Mode"), 1}});
            QVERIFY(!defaults.fileUnavailableReason().isEmpty());
            QVERIFY(defaults.persistentDomain().isEmpty());
            QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 1);
            QCOMPARE(log.lines().size(), 1);
            QVERIFY(log.lines().first().contains(path));

            // Changes live in memory for the session, written neither by the
            // event loop nor when asked for.
            defaults.setInteger(2, QStringLiteral("Application Mode"));
            defaults.setBool(true, QStringLiteral("Stealth Mode"));
            QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 2);
            QTest::qWait(100);
            QVERIFY(!defaults.synchronize());
            QVERIFY(obstacleIntact(obstacle, path));
        }
        // Nor when the store goes.
        QVERIFY(obstacleIntact(obstacle, path));
        QCOMPARE(entriesOf(dir), QStringList{QStringLiteral("s.plist")});
        QCOMPARE(log.lines().size(), 1);
    }

    // The file turns unreadable while the program runs: changes wait in
    // memory, the file is not replaced, and they are written once it can be
    // read again, merged with what it holds.
    void fileUnreadableForAWhileKeepsChangesUntilItReturns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        defaults.setInteger(1, QStringLiteral("Before"));
        QVERIFY(defaults.synchronize());

        QVERIFY(QFile::remove(path));
        QVERIFY(placeObstacle(Obstacle::Fifo, path));
        LogCapture log;
        defaults.setInteger(2, QStringLiteral("During"));
        QVERIFY(!defaults.synchronize());
        QTest::qWait(400);
        QVERIFY(obstacleIntact(Obstacle::Fifo, path));
        QCOMPARE(defaults.integerForKey(QStringLiteral("Before")), 1);
        QCOMPARE(log.lines().size(), 1);

        QVERIFY(QFile::remove(path));
        QVERIFY(platform::plist::writeFile(
            path, QVariantMap{{QStringLiteral("Before"), 1}, {QStringLiteral("Theirs"), 3}}));
        QVERIFY(defaults.synchronize());
        const QVariantMap onDisk = platform::plist::readFile(path)->toMap();
        QCOMPARE(onDisk.value(QStringLiteral("During")), QVariant(qlonglong(2)));
        QCOMPARE(onDisk.value(QStringLiteral("Theirs")), QVariant(qlonglong(3)));
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsUnavailableFileTest)
#include "settings_unavailable_file_test.moc"
