#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyList.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int changesPerWriter = 1000;
// Each writer cycles through this many keys of its own, so that the file
// stays small and a thousand changes are a thousand quick rewrites.
constexpr int keysPerWriter = 40;

// What a settings_writer run leaves: change i sets "PREFIX i % keys" to i,
// and every tenth change removes the key set five changes before.
QVariantMap expectedOf(const QString& prefix)
{
    QVariantMap keys;
    for (int i = 0; i < changesPerWriter; ++i) {
        keys.insert(prefix + u' ' + QString::number(i % keysPerWriter), qlonglong(i));
        if (i % 10 == 9) {
            keys.remove(prefix + u' ' + QString::number((i - 5) % keysPerWriter));
        }
    }
    return keys;
}

} // namespace

class SettingsTwoWritersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Two processes change different keys of one file a thousand times each,
    // at the same time, and each removes some of its own keys. Afterwards
    // every key of both holds its last value, and no removed key has come
    // back through the other process's older copy.
    void twoProcessesWritingAtOnceLoseNothing_data()
    {
        QTest::addColumn<QString>("firstMode");
        QTest::addColumn<QString>("secondMode");
        QTest::newRow("two commands") << "command"
                                      << "command";
        QTest::newRow("the program and a command") << "application"
                                                   << "command";
    }
    void twoProcessesWritingAtOnceLoseNothing()
    {
        QFETCH(QString, firstMode);
        QFETCH(QString, secondMode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        {
            // A key neither writer touches stays as it is.
            platform::UserDefaults defaults(path);
            defaults.setObject(QStringLiteral("kept"), QStringLiteral("Untouched"));
            QVERIFY(defaults.synchronize());
        }

        QProcess first;
        QProcess second;
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Under the address sanitizer the writers unwind stacks the fast way:
        // the thorough unwind of every allocation (there to name leaks in
        // system libraries, which the writers do not use) makes two thousand
        // parses and writes take many minutes.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                   QStringLiteral(":fast_unwind_on_malloc=1"));
        }
        first.setProcessEnvironment(environment);
        second.setProcessEnvironment(environment);
        const QString count = QString::number(changesPerWriter);
        const QString keys = QString::number(keysPerWriter);
        first.start(QStringLiteral(TROVIX_SETTINGS_WRITER), {path, "A", count, keys, firstMode});
        second.start(QStringLiteral(TROVIX_SETTINGS_WRITER), {path, "B", count, keys, secondMode});
        QVERIFY(first.waitForFinished(600000));
        QVERIFY(second.waitForFinished(600000));
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);

        QVariantMap expected = expectedOf(QStringLiteral("A"));
        expected.insert(expectedOf(QStringLiteral("B")));
        expected.insert(QStringLiteral("Untouched"), QStringLiteral("kept"));
        const QVariantMap stored = platform::plist::readFile(path).value_or(QVariant()).toMap();
        QCOMPARE(stored.size(), expected.size());
        QVERIFY(platform::plist::identical(stored, expected));
        // Nothing but the file and its lock is left beside it.
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(left.size() <= 2, qPrintable(left.join(u' ')));
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsTwoWritersTest)
#include "settings_two_writers_test.moc"
