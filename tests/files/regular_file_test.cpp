// Reading files that must be regular files: what is refused, and that a
// refusal never waits and never reads more than the limit.
#include "platform/files/RegularFile.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using platform::RegularFile::Failure;
Q_DECLARE_METATYPE(platform::RegularFile::Failure)

class RegularFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    void write(const char* name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void initTestCase()
    {
        write("small", "contents");
        write("empty", {});
        write("exact", QByteArray(64, 'x'));
        write("over", QByteArray(65, 'x'));
        QVERIFY(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600) == 0);
        QVERIFY(QFile::link(path("small"), path("link-to-file")));
        QVERIFY(QFile::link(path("pipe"), path("link-to-pipe")));
        QVERIFY(QFile::link(path("nowhere"), path("dangling")));
    }

    void reading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<Failure>("failure");
        const QByteArray none;
        QTest::newRow("regular file") << path("small") << QByteArray("contents") << Failure::None;
        QTest::newRow("empty file") << path("empty") << QByteArray("") << Failure::None;
        QTest::newRow("exactly the limit") << path("exact") << QByteArray(64, 'x') << Failure::None;
        QTest::newRow("one byte over") << path("over") << none << Failure::TooLarge;
        QTest::newRow("link to a file")
            << path("link-to-file") << QByteArray("contents") << Failure::None;
        QTest::newRow("named pipe") << path("pipe") << none << Failure::NotRegular;
        QTest::newRow("link to a named pipe")
            << path("link-to-pipe") << none << Failure::NotRegular;
        QTest::newRow("folder") << m_dir.path() << none << Failure::NotRegular;
        QTest::newRow("endless device") << "/dev/zero" << none << Failure::NotRegular;
        QTest::newRow("missing") << path("missing") << none << Failure::Missing;
        QTest::newRow("dangling link") << path("dangling") << none << Failure::Missing;
        QTest::newRow("no name") << QString() << none << Failure::Unreadable;
    }

    void reading()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(Failure, failure);
        QString error;
        Failure got = Failure::None;
        const std::optional<QByteArray> data = platform::RegularFile::read(file, 64, &error, &got);
        QCOMPARE(got, failure);
        QCOMPARE(data.has_value(), failure == Failure::None);
        QCOMPARE(error.isEmpty(), failure == Failure::None);
        if (data) {
            QCOMPARE(*data, contents);
            QVERIFY(!data->isNull());
        }
        QCOMPARE(platform::RegularFile::isRegularFile(file),
                 failure == Failure::None || failure == Failure::TooLarge);
    }

    // A file with more bytes than its size says (as /proc files, or one
    // that grows while it is read) is read to its end, never past the limit.
    void readsAreBoundedByTheBytesRead()
    {
        Failure got = Failure::None;
        const std::optional<QByteArray> status =
            platform::RegularFile::read(QStringLiteral("/proc/self/status"), 16, nullptr, &got);
        QVERIFY(!status);
        QCOMPARE(got, Failure::TooLarge);
        const std::optional<QByteArray> whole =
            platform::RegularFile::read(QStringLiteral("/proc/self/status"), 1 << 20);
        QVERIFY(whole && whole->contains("VmRSS"));
    }
};

TROVIX_TEST_GUILESS_MAIN(RegularFileTest)
#include "regular_file_test.moc"
