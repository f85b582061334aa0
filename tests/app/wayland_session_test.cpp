#include "app/QXDisplaySessionNotice.h"
#include "app/QXSettingsKeys.h"
#include "platform/session/DisplaySession.h"
#include "platform/session/WaylandCompositor.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

using platform::DisplaySession;

Q_DECLARE_METATYPE(DisplaySession::Desktop)

namespace {

QProcessEnvironment environmentWith(const QStringList& assignments)
{
    QProcessEnvironment environment;
    for (const QString& assignment : assignments) {
        const qsizetype at = assignment.indexOf(u'=');
        environment.insert(assignment.left(at), assignment.mid(at + 1));
    }
    return environment;
}

} // namespace

// How Trovix recognises a Wayland session and its desktop, which Qt platform
// it then insists on, and that it tells the user once what works there and
// how the hot keys are set up on that desktop.
class WaylandSessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void detection_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<QString>("qtPlatform");
        QTest::addColumn<bool>("unusable");

        const QString none;
        const QString xcb = QStringLiteral("xcb");
        QTest::newRow("X11 session")
            << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE=x11"} << false << none << false;
        QTest::newRow("no session variables")
            << QStringList{"DISPLAY=:0"} << false << none << false;
        QTest::newRow("Wayland with XWayland")
            << QStringList{"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "XDG_SESSION_TYPE=wayland"}
            << true << xcb << false;
        QTest::newRow("only the Wayland socket")
            << QStringList{"DISPLAY=:1", "WAYLAND_DISPLAY=wayland-1"} << true << xcb << false;
        QTest::newRow("only the session type, any case")
            << QStringList{"DISPLAY=:0", "XDG_SESSION_TYPE= Wayland"} << true << xcb << false;
        QTest::newRow("empty Wayland socket is none")
            << QStringList{"DISPLAY=:0", "WAYLAND_DISPLAY=", "XDG_SESSION_TYPE=x11"} << false
            << none << false;
        QTest::newRow("tty session")
            << QStringList{"XDG_SESSION_TYPE=tty"} << false << none << false;
        // Without XWayland there is no X display Qt could be sent to.
        QTest::newRow("Wayland without XWayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_SESSION_TYPE=wayland"} << true << none
            << true;
        // The user's own choice of platform plugin stands.
        QTest::newRow("platform chosen by the user")
            << QStringList{"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=wayland"}
            << true << none << false;
    }

    void detection()
    {
        QFETCH(QStringList, environment);
        QFETCH(bool, wayland);
        QFETCH(QString, qtPlatform);
        QFETCH(bool, unusable);

        const DisplaySession session =
            DisplaySession::fromEnvironment(environmentWith(environment));
        QCOMPARE(session.wayland, wayland);
        QCOMPARE(session.requiredQtPlatform(), qtPlatform);
        QCOMPARE(session.unusable(), unusable);
        QCOMPARE(session.limitations().isEmpty(), !wayland);
    }

    void desktop_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<DisplaySession::Desktop>("desktop");

        using Desktop = DisplaySession::Desktop;
        QTest::newRow("GNOME") << QStringList{"XDG_CURRENT_DESKTOP=GNOME"} << Desktop::Gnome;
        QTest::newRow("GNOME under a distribution's name")
            << QStringList{"XDG_CURRENT_DESKTOP=ubuntu:GNOME", "XDG_SESSION_DESKTOP=ubuntu"}
            << Desktop::Gnome;
        QTest::newRow("KDE Plasma") << QStringList{"XDG_CURRENT_DESKTOP=KDE"} << Desktop::Kde;
        QTest::newRow("Plasma by its session name")
            << QStringList{"XDG_SESSION_DESKTOP=plasmawayland"} << Desktop::Kde;
        QTest::newRow("sway") << QStringList{"XDG_CURRENT_DESKTOP=sway"} << Desktop::Wlroots;
        QTest::newRow("another wlroots compositor, any case")
            << QStringList{"XDG_CURRENT_DESKTOP= Wayfire "} << Desktop::Wlroots;
        // sway started by hand sets no desktop variable, only its socket.
        QTest::newRow("sway by its socket")
            << QStringList{"SWAYSOCK=/run/user/1000/sway-ipc.sock"} << Desktop::Wlroots;
        // The current desktop decides before the session's name and the socket.
        QTest::newRow("current desktop first")
            << QStringList{"XDG_CURRENT_DESKTOP=KDE", "XDG_SESSION_DESKTOP=gnome",
                           "SWAYSOCK=/tmp/sway.sock"}
            << Desktop::Kde;
        QTest::newRow("unknown current desktop, known session")
            << QStringList{"XDG_CURRENT_DESKTOP=Hyprland", "XDG_SESSION_DESKTOP=sway"}
            << Desktop::Wlroots;
        QTest::newRow("unknown desktop")
            << QStringList{"XDG_CURRENT_DESKTOP=Hyprland"} << Desktop::Other;
        QTest::newRow("nothing set") << QStringList{} << Desktop::Other;
        QTest::newRow("a name that only contains a known one")
            << QStringList{"XDG_CURRENT_DESKTOP=GNOMEish:swayfx"} << Desktop::Other;
    }

    void desktop()
    {
        QFETCH(QStringList, environment);
        QFETCH(DisplaySession::Desktop, desktop);
        QCOMPARE(DisplaySession::fromEnvironment(environmentWith(environment)).desktop, desktop);
    }

    // The notice says what works, how the hot keys are set up on that
    // desktop, and why there is no right click; each desktop its own way.
    void limitationsSayHowHotKeysAreSetUp_data()
    {
        QTest::addColumn<DisplaySession::Desktop>("desktop");
        QTest::addColumn<QString>("hotKeys");
        QTest::newRow("GNOME") << DisplaySession::Desktop::Gnome
                               << QStringLiteral("custom shortcuts in GNOME's keyboard settings");
        QTest::newRow("KDE") << DisplaySession::Desktop::Kde
                             << QStringLiteral("System Settings under Shortcuts");
        QTest::newRow("wlroots") << DisplaySession::Desktop::Wlroots
                                 << QStringLiteral("(bindsym ... exec trovix popup)");
        QTest::newRow("other") << DisplaySession::Desktop::Other
                               << QStringLiteral("to the command trovix popup");
    }

    void limitationsSayHowHotKeysAreSetUp()
    {
        QFETCH(DisplaySession::Desktop, desktop);
        QFETCH(QString, hotKeys);
        DisplaySession session;
        session.wayland = true;
        session.x11Display = true;
        session.desktop = desktop;
        const QString text = session.limitations();
        QVERIFY(text.contains(QLatin1String("What works: the menus of the application in front")));
        QVERIFY2(text.contains(hotKeys), qPrintable(text));
        QVERIFY(text.contains(QLatin1String("The right click trigger is not offered")));
        QCOMPARE(text.count(QLatin1String("right click")), 1);
        session.x11Display = false;
        QVERIFY(session.unusable());
        QVERIFY(session.limitations().contains(QLatin1String("cannot run")));
    }

    // The compositor is the process listening on the Wayland socket, by its
    // name in the runtime folder or by its path; here this test listens.
    void compositorIsWhoListensOnTheWaylandSocket()
    {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QLocalServer server;
        server.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(server.listen(runtime.filePath(QStringLiteral("wayland-7"))));
        const qint64 self = QCoreApplication::applicationPid();

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-7"));
        QCOMPARE(platform::waylandCompositorProcess(environment), std::optional<qint64>(self));
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), server.fullServerName());
        QCOMPARE(platform::waylandCompositorProcess(environment), std::optional<qint64>(self));

        // No socket, no session, a name without its folder: nobody.
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-8"));
        QCOMPARE(platform::waylandCompositorProcess(environment), std::nullopt);
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QCOMPARE(platform::waylandCompositorProcess(environment), std::nullopt);
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-7"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        QCOMPARE(platform::waylandCompositorProcess(environment), std::nullopt);
    }

    void noticeIsShownOnceAndLoggedAtEveryStart()
    {
        TemporaryDefaults defaults;
        LogCapture log;
        QStringList shown;
        QXDisplaySessionNotice::setPresenterForTesting(
            [&shown](const QString& title, const QString&) { shown.append(title); });

        DisplaySession x11;
        x11.x11Display = true;
        QVERIFY(!QXDisplaySessionNotice::announce(x11, defaults.defaults()));
        QVERIFY(shown.isEmpty());
        QVERIFY(log.lines().isEmpty());
        QVERIFY(!defaults.defaults().hasStoredValue(QXSettingsKeys::WaylandNoticeShown));

        DisplaySession wayland = x11;
        wayland.wayland = true;
        QVERIFY(QXDisplaySessionNotice::announce(wayland, defaults.defaults()));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(log.lines().size(), 1);
        QCOMPARE(log.lines().constFirst(), wayland.limitations());

        // The next start only logs, also after the settings were read anew.
        QVERIFY(defaults.defaults().synchronize());
        platform::UserDefaults reread(defaults.filePath());
        QVERIFY(!QXDisplaySessionNotice::announce(wayland, reread));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(log.lines().size(), 2);

        QXDisplaySessionNotice::setPresenterForTesting({});
    }
};

TROVIX_TEST_MAIN(WaylandSessionTest)
#include "wayland_session_test.moc"
