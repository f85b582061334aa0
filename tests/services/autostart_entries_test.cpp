#include "platform/loginitems/xdg/AutostartEntry.h"
#include "platform/loginitems/xdg/XdgLoginItems.h"
#include "services/QXLoginItem.h"
#include "support/Prerequisite.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using platform::AutostartEntry;
using platform::LoginItem;
using platform::XdgLoginItems;

namespace {

const QString entryName = QStringLiteral("com.quirkworks.Trovix.desktop");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray entryRunning(const QString& program, const QByteArray& extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=Some Trovix\nExec=\"" + program.toUtf8() +
           "\" --flag\n" + extra;
}

} // namespace

// The autostart folders as the login-items list, in temporary XDG folders.
class AutostartEntriesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    }

    void init()
    {
        m_home.reset(new QTemporaryDir);
        m_system.reset(new QTemporaryDir);
        qputenv("XDG_CONFIG_HOME", m_home->path().toUtf8());
        qputenv("XDG_CONFIG_DIRS", ("relative/ignored:" + m_system->path()).toUtf8());
        platform::LoginItems::setCurrent(std::make_unique<XdgLoginItems>(
            QStringLiteral("com.quirkworks.Trovix"), QStringLiteral("Trovix")));
    }

    void cleanup() { platform::LoginItems::setCurrent(nullptr); }

    void onOffStatusRoundTrip()
    {
        QVERIFY(!QXLoginItem::loginItemState().on);
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QVERIFY(QXLoginItem::loginItemState().on);
        const QString entry = userEntry();
        validate(entry);
        const std::optional<AutostartEntry> parsed = AutostartEntry::parse(contentsOf(entry));
        QVERIFY(parsed);
        QCOMPARE(parsed->execProgram(), QXLoginItem::applicationPath());
        QVERIFY(parsed->value(QStringLiteral("Exec")).startsWith(u'"'));
        QCOMPARE(parsed->value(QStringLiteral("TryExec")), QXLoginItem::applicationPath());

        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(!QXLoginItem::loginItemState().on);
        // Off again: nothing to do, still success.
        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
    }

    // A system-wide copy cannot be deleted: the user's Hidden entry deletes
    // it for this user, and switching on replaces that entry again.
    void systemWideCopyOverridden()
    {
        const QString systemEntry = m_system->path() + QStringLiteral("/autostart/") + entryName;
        write(systemEntry, entryRunning(QXLoginItem::applicationPath()));
        const QByteArray systemText = contentsOf(systemEntry);
        QVERIFY(QXLoginItem::loginItemState().on);

        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
        QVERIFY(!QXLoginItem::loginItemState().on);
        validate(userEntry());
        QVERIFY(AutostartEntry::parse(contentsOf(userEntry()))->boolean(QStringLiteral("Hidden")));
        QCOMPARE(contentsOf(systemEntry), systemText);

        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QVERIFY(QXLoginItem::loginItemState().on);
        validate(userEntry());
        QVERIFY(
            !AutostartEntry::parse(contentsOf(userEntry()))->contains(QStringLiteral("Hidden")));
    }

    // Entries that start another copy of the program go, in both folders;
    // other programs' entries stay as they are.
    void otherCopiesReplaced()
    {
        const QString program = QFileInfo(QXLoginItem::applicationPath()).fileName();
        write(userEntry(), entryRunning(QStringLiteral("/opt/old copy/") + program));
        const QString systemOther =
            m_system->path() + QStringLiteral("/autostart/") + program + QStringLiteral(".desktop");
        write(systemOther, entryRunning(QStringLiteral("/usr/bin/") + program));
        const QString editor = m_home->path() + QStringLiteral("/autostart/editor.desktop");
        const QByteArray editorText = entryRunning(QStringLiteral("/usr/bin/editor"));
        write(editor, editorText);

        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(AutostartEntry::parse(contentsOf(userEntry()))->execProgram(),
                 QXLoginItem::applicationPath());
        const QString override =
            m_home->path() + QStringLiteral("/autostart/") + program + QStringLiteral(".desktop");
        validate(override);
        QVERIFY(AutostartEntry::parse(contentsOf(override))->boolean(QStringLiteral("Hidden")));
        QCOMPARE(contentsOf(editor), editorText);

        const std::optional<QList<LoginItem>> items = platform::LoginItems::current().snapshot();
        QVERIFY(items);
        QCOMPARE(items->size(), 2);
    }

    void malformedEntryReplaced_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe[Desktop Entry]\x80", 19);
        QTest::newRow("no group") << QByteArray("Exec=/usr/bin/trovix\n");
        QTest::newRow("unclosed quote") << QByteArray("[Desktop Entry]\nExec=\"/usr/bin/tr");
        QTest::newRow("no key") << QByteArray("[Desktop Entry]\nthis is not a key\n");
        QTest::newRow("huge") << ("[Desktop Entry]\nExec=/x\nName=" + QByteArray(1 << 20, 'a'));
        QTest::newRow("two main groups")
            << QByteArray("[Desktop Entry]\nExec=/a\n[Desktop Entry]\nExec=/b\n");
    }

    void malformedEntryReplaced()
    {
        QFETCH(QByteArray, text);
        write(userEntry(), text);
        QVERIFY(!QXLoginItem::loginItemState().on);
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QVERIFY(QXLoginItem::loginItemState().on);
        validate(userEntry());
    }

    // A named pipe in place of an entry is never opened: reading it would
    // wait for a writer forever.
    void pipeInPlaceOfEntrySkipped()
    {
        QDir().mkpath(QFileInfo(userEntry()).path());
        QCOMPARE(::mkfifo(QFile::encodeName(userEntry()).constData(), 0600), 0);
        QVERIFY(!QXLoginItem::loginItemState().on);
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QVERIFY(QXLoginItem::loginItemState().on);
    }

    void deletedEntriesNotListed_data()
    {
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<bool>("listed");
        QTest::newRow("hidden") << QByteArray("Hidden=true\n") << false;
        QTest::newRow("switched off by the desktop")
            << QByteArray("X-GNOME-Autostart-enabled=false\n") << false;
        QTest::newRow("localized key ignored") << QByteArray("Hidden[de]=true\n") << true;
    }

    void deletedEntriesNotListed()
    {
        QFETCH(QByteArray, extra);
        write(userEntry(), entryRunning(QXLoginItem::applicationPath(), extra));
        QTEST(QXLoginItem::loginItemState().on, "listed");
    }

    // Paths that need quoting come back from the file as they went in, and
    // the file stays valid.
    void programPathsQuoted_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("space") << QStringLiteral("/opt/my apps/trovix");
        QTest::newRow("quote") << QStringLiteral("/opt/\"q\"/trovix");
        QTest::newRow("dollar and backtick") << QStringLiteral("/opt/$HOME/`id`/trovix");
        QTest::newRow("percent") << QStringLiteral("/opt/100%u/trovix");
        QTest::newRow("backslash") << QStringLiteral("/opt/back\\slash/trovix");
        QTest::newRow("non-ASCII") << QStringLiteral("/opt/Prüfung/trovix");
    }

    void programPathsQuoted()
    {
        QFETCH(QString, program);
        const std::optional<LoginItem> item = platform::LoginItems::current().insert(program);
        QVERIFY(item);
        validate(userEntry());
        QCOMPARE(AutostartEntry::parse(contentsOf(userEntry()))->execProgram(), program);
        const std::optional<QList<LoginItem>> items = platform::LoginItems::current().snapshot();
        QVERIFY(items && items->size() == 1);
        QCOMPARE(items->first().path, program);
    }

private:
    QString userEntry() const { return m_home->path() + QStringLiteral("/autostart/") + entryName; }

    void validate(const QString& path)
    {
        TROVIX_REQUIRE(!m_validator.isEmpty(), "desktop-file-validate is not installed");
        QProcess validator;
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start(m_validator, {path});
        QVERIFY(validator.waitForFinished(30000));
        const QByteArray output = validator.readAll();
        QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0,
                 output.constData());
        QVERIFY2(!output.contains("error:"), output.constData());
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_system;
    QString m_validator;
};

TROVIX_TEST_GUILESS_MAIN(AutostartEntriesTest)
#include "autostart_entries_test.moc"
