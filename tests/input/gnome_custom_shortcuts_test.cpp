#include "platform/input/gnome/GnomeCustomShortcuts.h"
#include "platform/input/gnome/GnomeShortcutList.h"
#include "support/TestProgram.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

const QString mediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString customPath =
    QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");

} // namespace

// Trovix's custom shortcuts in GNOME's keyboard settings, written through a
// real gsettings into a private key file: the user's own shortcuts stay as
// they were.
class GnomeCustomShortcutsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    static QString gsettings(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral("gsettings"), arguments);
        if (!process.waitForFinished(10000) || process.exitCode() != 0) {
            qWarning() << "gsettings" << arguments << process.readAllStandardError();
            return QStringLiteral("<failed>");
        }
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    static QString shortcutKey(const QString& slot, const QString& key)
    {
        return gsettings(
            {QStringLiteral("get"),
             mediaKeys + QStringLiteral(".custom-keybinding:") + customPath + slot + u'/', key});
    }

    // Everything the user's settings hold, as gsettings reads it back.
    static QStringList userSettings()
    {
        QStringList values{
            gsettings({QStringLiteral("get"), mediaKeys, QStringLiteral("custom-keybindings")})};
        for (const QString& slot : {QStringLiteral("custom0"), QStringLiteral("custom1")}) {
            for (const QString& key :
                 {QStringLiteral("name"), QStringLiteral("command"), QStringLiteral("binding")}) {
                values.append(shortcutKey(slot, key));
            }
        }
        return values;
    }

    static void waitUntilIdle(GnomeCustomShortcuts& shortcuts)
    {
        QSignalSpy idle(&shortcuts, &GnomeCustomShortcuts::idle);
        QVERIFY(shortcuts.isIdle() || idle.wait(20000));
        QVERIFY(shortcuts.isIdle());
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty()) {
            QSKIP("gsettings is not installed");
        }
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        qputenv("GSETTINGS_BACKEND", "keyfile");
        if (gsettings({QStringLiteral("list-keys"), mediaKeys}) == QStringLiteral("<failed>")) {
            QSKIP("GNOME's media-keys settings schema is not installed");
        }
    }

    void trovixShortcutsComeAndGoLeavingTheUsersOwn()
    {
        // Two shortcuts of the user's, one with quotes in its name.
        const QString list = GnomeShortcutList::format(
            {customPath + QStringLiteral("custom0/"), customPath + QStringLiteral("custom1/")});
        gsettings({QStringLiteral("set"), mediaKeys, QStringLiteral("custom-keybindings"), list});
        for (const auto& [slot, name] : {std::pair{QStringLiteral("custom0"), "Terminal"},
                                         std::pair{QStringLiteral("custom1"), "Bob's \"notes\""}}) {
            const QString schema =
                mediaKeys + QStringLiteral(".custom-keybinding:") + customPath + slot + u'/';
            gsettings({QStringLiteral("set"), schema, QStringLiteral("name"),
                       GnomeShortcutList::quoted(QString::fromUtf8(name))});
            gsettings({QStringLiteral("set"), schema, QStringLiteral("command"),
                       QStringLiteral("'gnome-terminal'")});
            gsettings({QStringLiteral("set"), schema, QStringLiteral("binding"),
                       QStringLiteral("'<Super>t'")});
        }
        const QStringList before = userSettings();
        QCOMPARE(before.first(), list);

        GnomeCustomShortcuts shortcuts;
        shortcuts.set(QStringLiteral("trovix-front"), QStringLiteral("Trovix"),
                      QStringLiteral("'/opt/my apps/trovix' popup"), QStringLiteral("<Super>m"));
        shortcuts.set(QStringLiteral("trovix-all"), QStringLiteral("Trovix: all"),
                      QStringLiteral("trovix popup --all"), QStringLiteral("<Super><Shift>m"));
        // Setting again changes the shortcut, not the list.
        shortcuts.set(QStringLiteral("trovix-front"), QStringLiteral("Trovix"),
                      QStringLiteral("'/opt/my apps/trovix' popup"), QStringLiteral("<Super>n"));
        waitUntilIdle(shortcuts);
        const QString added =
            gsettings({QStringLiteral("get"), mediaKeys, QStringLiteral("custom-keybindings")});
        QCOMPARE(GnomeShortcutList::parse(added),
                 QStringList({customPath + QStringLiteral("custom0/"),
                              customPath + QStringLiteral("custom1/"),
                              customPath + QStringLiteral("trovix-front/"),
                              customPath + QStringLiteral("trovix-all/")}));
        QCOMPARE(shortcutKey(QStringLiteral("trovix-front"), QStringLiteral("command")),
                 QStringLiteral("\"'/opt/my apps/trovix' popup\""));
        QCOMPARE(shortcutKey(QStringLiteral("trovix-front"), QStringLiteral("binding")),
                 QStringLiteral("'<Super>n'"));
        QCOMPARE(shortcutKey(QStringLiteral("trovix-all"), QStringLiteral("binding")),
                 QStringLiteral("'<Super><Shift>m'"));

        shortcuts.remove(QStringLiteral("trovix-front"));
        shortcuts.remove(QStringLiteral("trovix-all"));
        // A slot that was never set: nothing changes.
        shortcuts.remove(QStringLiteral("trovix-none"));
        waitUntilIdle(shortcuts);
        QCOMPARE(userSettings(), before);
        QCOMPARE(shortcutKey(QStringLiteral("trovix-front"), QStringLiteral("binding")),
                 QStringLiteral("''"));
    }

    void aMissingToolEndsQuietly()
    {
        GnomeCustomShortcuts shortcuts(nullptr, QStringLiteral("/nonexistent/gsettings"));
        shortcuts.set(QStringLiteral("trovix-front"), QStringLiteral("Trovix"),
                      QStringLiteral("trovix popup"), QStringLiteral("<Super>m"));
        waitUntilIdle(shortcuts);
    }

    void listTextsAreReadAndWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("empty") << "@as []" << QStringList();
        QTest::newRow("empty, no type") << "[]" << QStringList();
        QTest::newRow("two") << "['/a/', '/b/']" << QStringList{"/a/", "/b/"};
        QTest::newRow("escapes") << "['it\\'s', '\\\\x']" << QStringList{"it's", "\\x"};
    }

    void listTextsAreReadAndWritten()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, paths);
        QCOMPARE(GnomeShortcutList::parse(text), paths);
        QCOMPARE(GnomeShortcutList::parse(GnomeShortcutList::format(paths)), paths);
        QCOMPARE(GnomeShortcutList::parse(u"\n  " + text + u"\n"), paths);
    }

    void listsNotUnderstoodAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << "";
        QTest::newRow("unclosed") << "['/a/'";
        QTest::newRow("unterminated string") << "['/a/]";
        QTest::newRow("not strings") << "[1, 2]";
        QTest::newRow("trailing text") << "['/a/'] x";
        QTest::newRow("missing comma") << "['/a/' '/b/']";
        QTest::newRow("unicode escape") << "['\\u0041']";
        QTest::newRow("huge") << QString(2 << 20, u'[');
    }

    void listsNotUnderstoodAreRefused()
    {
        QFETCH(QString, text);
        QCOMPARE(GnomeShortcutList::parse(text), std::nullopt);
    }
};

TROVIX_TEST_MAIN(GnomeCustomShortcutsTest)
#include "gnome_custom_shortcuts_test.moc"
