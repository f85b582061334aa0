#include "platform/defaults/UserDefaults.h"
#include "platform/plist/PropertyList.h"
#include "support/LogCapture.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::UserDefaults;
namespace plist = platform::plist;

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QStringList asideFiles(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList({QStringLiteral("s.plist.corrupt-*")}, QDir::Files);
}

} // namespace

class SettingsCorruptFileTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void badFileIsSetAsideAndDefaultsApply_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage") << QByteArray("\x00\x13garbage\xfe\xff not a plist", 24);
        QTest::newRow("half written") << platform::plist::toXml(QVariantMap{{"A", 1}}).left(90);
        QTest::newRow("array at the top")
            << platform::plist::toXml(QVariantList{QStringLiteral("Stealth Mode"), true});
        // 1.5 MB of arrays 100 000 deep: a recursive reader dies on it at
        // every start.
        QTest::newRow("nested 100 000 deep")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>Deep</key>" +
                   QByteArray("<array>").repeated(100000) +
                   QByteArray("</array>").repeated(100000) + "</dict></plist>\n";
    }
    void badFileIsSetAsideAndDefaultsApply()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        QVERIFY(writeBytes(path, bytes));

        LogCapture log;
        UserDefaults defaults(path);
        defaults.registerDefaults({{QStringLiteral("Application Mode"), 1}});
        QVERIFY(defaults.persistentDomain().isEmpty());
        QCOMPARE(defaults.integerForKey(QStringLiteral("Application Mode")), 1);

        QCOMPARE(log.lines().size(), 1);
        QVERIFY(log.lines().first().contains(path));
        const QStringList aside = asideFiles(dir);
        QCOMPARE(aside.size(), 1);
        QVERIFY(log.lines().first().contains(aside.first()));
        QCOMPARE(contentsOf(dir.filePath(aside.first())), bytes);
        QVERIFY(!QFile::exists(path));

        // Later writes go to a fresh file at the usual place.
        defaults.setInteger(0, QStringLiteral("Application Mode"));
        QVERIFY(defaults.synchronize());
        QCOMPARE(platform::plist::readFile(path)->toMap().value(QStringLiteral("Application Mode")),
                 QVariant(qlonglong(0)));
        QCOMPARE(contentsOf(dir.filePath(aside.first())), bytes);
        QCOMPARE(log.lines().size(), 1);
    }

    // What cannot be read back must never reach the file.
    void valuesNestedTooDeeplyAreNotStored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        QVariant value = QVariant(qlonglong(1));
        for (int i = 0; i < 63; ++i) {
            value = QVariant(QVariantList{value});
        }
        defaults.setObject(value, QStringLiteral("Deepest"));
        QVERIFY(defaults.hasStoredValue(QStringLiteral("Deepest")));

        LogCapture log;
        defaults.setObject(QVariantList{value}, QStringLiteral("Too Deep"));
        QVERIFY(!defaults.hasStoredValue(QStringLiteral("Too Deep")));
        QCOMPARE(log.lines().size(), 1);
        QVERIFY(defaults.synchronize());
        UserDefaults again(path);
        QVERIFY(plist::identical(again.objectForKey(QStringLiteral("Deepest")), value));
        QVERIFY(asideFiles(dir).isEmpty());
    }

    void setAsideFilesNeverOverwriteEachOther()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        LogCapture log;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(writeBytes(path, "broken " + QByteArray::number(i)));
            UserDefaults defaults(path);
        }
        const QStringList aside = asideFiles(dir);
        QCOMPARE(aside.size(), 3);
        QStringList contents;
        for (const QString& name : aside) {
            contents.append(QString::fromUtf8(contentsOf(dir.filePath(name))));
        }
        contents.sort();
        QCOMPARE(contents, (QStringList{QStringLiteral("broken 0"), QStringLiteral("broken 1"),
                                        QStringLiteral("broken 2")}));
        QCOMPARE(log.lines().size(), 3);
    }

    // Another program leaves a broken file behind while we run: our values
    // stay, the broken file is kept aside, and a good file is written again.
    void fileBrokenWhileRunningKeepsValuesInMemory()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.plist"));
        UserDefaults defaults(path);
        defaults.setInteger(7, QStringLiteral("Kept"));
        QVERIFY(defaults.synchronize());

        LogCapture log;
        QVERIFY(writeBytes(path, "not a property list"));
        QTRY_COMPARE_WITH_TIMEOUT(asideFiles(dir).size(), 1, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 3000);
        QCOMPARE(defaults.integerForKey(QStringLiteral("Kept")), 7);
        QCOMPARE(platform::plist::readFile(path)->toMap().value(QStringLiteral("Kept")),
                 QVariant(qlonglong(7)));
        QCOMPARE(contentsOf(dir.filePath(asideFiles(dir).first())),
                 QByteArray("not a property list"));
        QCOMPARE(log.lines().size(), 1);
    }
};

TROVIX_TEST_GUILESS_MAIN(SettingsCorruptFileTest)
#include "settings_corrupt_file_test.moc"
