#include "platform/loginitems/portal/BackgroundPortalLoginItems.h"
#include "services/QXLoginItem.h"
#include "support/LogCapture.h"
#include "support/Prerequisite.h"
#include "support/TestProgram.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::BackgroundPortalLoginItems;

// The desktop's side of the Background portal: records each request and
// answers on the request object, after the call's reply as the real one does.
class FakeBackgroundPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Background")

public:
    explicit FakeBackgroundPortal(const QDBusConnection& bus) : m_bus(bus) {}

    uint answer = 0;
    int requests = 0;
    QVariantMap lastOptions;

public Q_SLOTS:
    QDBusObjectPath RequestBackground(const QString& parentWindow, const QVariantMap& options,
                                      const QDBusMessage& message)
    {
        Q_UNUSED(parentWindow);
        ++requests;
        lastOptions = options;
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender +
                             u'/' + options.value(QStringLiteral("handle_token")).toString();
        const bool autostart = options.value(QStringLiteral("autostart")).toBool();
        const uint code = answer;
        QTimer::singleShot(0, this, [this, path, autostart, code] {
            QDBusMessage response = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << code
                     << QVariantMap{{QStringLiteral("background"), true},
                                    {QStringLiteral("autostart"), autostart}};
            m_bus.send(response);
        });
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
};

// Starting at login inside a sandbox, through the portal on a private bus.
class BackgroundPortalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        TROVIX_REQUIRE(!daemon.isEmpty(), "dbus-daemon is not installed");
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_daemon.canReadLine() || m_daemon.waitForReadyRead(100), 30000);
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        QVERIFY(!m_address.isEmpty());
    }

    void cleanupTestCase()
    {
        platform::LoginItems::setCurrent(nullptr);
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(10000);
        }
    }

    void answersDecideTheState()
    {
        QDBusConnection portalBus = QDBusConnection::connectToBus(m_address, "portal");
        QVERIFY(portalBus.isConnected());
        FakeBackgroundPortal portal(portalBus);
        QVERIFY(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QVERIFY(portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                         QDBusConnection::ExportAllSlots));
        QTemporaryDir config;
        const QString program = QStringLiteral("/app/bin/trovix");
        platform::LoginItems::setCurrent(std::make_unique<BackgroundPortalLoginItems>(
            QDBusConnection::connectToBus(m_address, "client"),
            config.filePath(QStringLiteral("state")), program));
        LogCapture log;
        // Every answer, granted or not, is news for whoever shows the state.
        QObject observer;
        int answers = 0;
        platform::LoginItems::current().addChangeObserver(&observer, [&answers] { ++answers; });

        QXLoginItem::State state = QXLoginItem::loginItemState();
        QVERIFY(!state.on);
        QVERIFY(state.changeable);

        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(answers, 0);
        QTRY_COMPARE(answers, 1);
        QVERIFY(QXLoginItem::loginItemState().on);
        QCOMPARE(portal.lastOptions.value(QStringLiteral("commandline")).toStringList(),
                 QStringList{program});
        QCOMPARE(portal.lastOptions.value(QStringLiteral("autostart")).toBool(), true);
        QCOMPARE(portal.lastOptions.value(QStringLiteral("dbus-activatable")).toBool(), false);
        QVERIFY(!portal.lastOptions.value(QStringLiteral("reason")).toString().isEmpty());

        // Already on: no second request.
        QVERIFY(QXLoginItem::setLoginItemEnabled(true));
        QCOMPARE(portal.requests, 1);

        // The user says no: the state stays what it was.
        portal.answer = 1;
        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
        QTRY_VERIFY(log.lines().contains(
            QStringLiteral("[QXLoginItem] the background portal declined (1)")));
        QCOMPARE(answers, 2);
        QVERIFY(QXLoginItem::loginItemState().on);

        portal.answer = 0;
        QVERIFY(QXLoginItem::setLoginItemEnabled(false));
        QTRY_VERIFY(!QXLoginItem::loginItemState().on);
        QCOMPARE(portal.lastOptions.value(QStringLiteral("autostart")).toBool(), false);

        // No portal at all: the refusal is logged and nothing changes.
        portalBus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        log.clear();
        QXLoginItem::setLoginItemEnabled(true);
        QTRY_VERIFY(!log.lines().isEmpty());
        QVERIFY(log.lines().first().startsWith(
            QStringLiteral("[QXLoginItem] the background portal refused")));
        QVERIFY(!QXLoginItem::loginItemState().on);
        QTRY_COMPARE(answers, 4);
        QVERIFY(QXLoginItem::failureReason().startsWith(
            QStringLiteral("The desktop refused the request: ")));
    }

private:
    QProcess m_daemon;
    QString m_address;
};

TROVIX_TEST_GUILESS_MAIN(BackgroundPortalTest)
#include "background_portal_test.moc"
