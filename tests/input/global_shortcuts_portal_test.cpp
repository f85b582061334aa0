#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/portal/GlobalShortcutsPortal.h"
#include "support/TestProgram.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// The desktop portal's global shortcuts interface as a desktop offers it:
// sessions, bindings answered on request objects, and activation signals.
class FakePortal : public QDBusVirtualObject
{
public:
    explicit FakePortal(const QDBusConnection& bus) : m_bus(bus) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
            member == QLatin1String("Get")) {
            connection.send(message.createReply(
                QVariant::fromValue(QDBusVariant(QVariant::fromValue(version)))));
            return true;
        }
        if (message.interface() != shortcutsInterface) {
            return false;
        }
        const QVariantMap options =
            qdbus_cast<QVariantMap>(message.arguments().constLast().value<QDBusArgument>());
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString request = portalPath + QStringLiteral("/request/") + sender + u'/' +
                                options.value(QStringLiteral("handle_token")).toString();
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        if (member == QLatin1String("CreateSession")) {
            session = portalPath + QStringLiteral("/session/") + sender + u'/' +
                      options.value(QStringLiteral("session_handle_token")).toString();
            results.insert(QStringLiteral("session_handle"), session);
        } else if (member == QLatin1String("BindShortcuts")) {
            ++bindings;
            boundSession = message.arguments().at(0).value<QDBusObjectPath>().path();
            shortcuts.clear();
            const QDBusArgument list = message.arguments().at(1).value<QDBusArgument>();
            list.beginArray();
            while (!list.atEnd()) {
                QString id;
                QVariantMap properties;
                list.beginStructure();
                list >> id >> properties;
                list.endStructure();
                shortcuts.insert(id, properties);
            }
            list.endArray();
        }
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0u << results;
        connection.send(response);
        return true;
    }

    void activate(const QString& id, bool pressed, const QString& inSession = QString())
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, shortcutsInterface,
                                                         pressed ? QStringLiteral("Activated")
                                                                 : QStringLiteral("Deactivated"));
        signal << QVariant::fromValue(QDBusObjectPath(inSession.isEmpty() ? session : inSession))
               << id << qulonglong(0) << QVariantMap();
        m_bus.send(signal);
    }

    uint version = 1;
    QString session;
    QString boundSession;
    int bindings = 0;
    QMap<QString, QVariantMap> shortcuts;

private:
    QDBusConnection m_bus;
};

} // namespace

// The global shortcuts portal against a portal of the test's own on a
// private session bus.
class GlobalShortcutsPortalTest : public QObject
{
    Q_OBJECT

private:
    QProcess m_daemon;
    QString m_address;
    QTemporaryDir m_folder;

private Q_SLOTS:
    void initTestCase()
    {
        // A bus of its own with no services to start: a call to a name
        // nobody owns fails at once instead of starting the real portal.
        QVERIFY(m_folder.isValid());
        QFile config(m_folder.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<busconfig><type>session</type><listen>unix:dir=" + m_folder.path().toUtf8() +
                     "</listen><policy context=\"default\"><allow send_destination=\"*\"/>"
                     "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>");
        config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config.fileName(),
                        QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!m_daemon.waitForStarted(5000)) {
            QSKIP("dbus-daemon is not installed");
        }
        QTRY_VERIFY(m_daemon.canReadLine());
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }

    void cleanupTestCase()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }

    void hotKeysAreBoundAndTheirActivationsArrive()
    {
        QDBusConnection service =
            QDBusConnection::connectToBus(m_address, QStringLiteral("portal"));
        FakePortal portal(service);
        const auto leave = qScopeGuard([] {
            QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
            QDBusConnection::disconnectFromBus(QStringLiteral("trovix"));
        });
        QVERIFY(service.registerVirtualObject(portalPath, &portal));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QDBusConnection client = QDBusConnection::connectToBus(m_address, QStringLiteral("trovix"));

        uint version = 99;
        QObject context;
        GlobalShortcutsPortal::probeVersion(client, &context, [&version](uint v) { version = v; });
        QTRY_COMPARE(version, 1u);

        QStringList activations;
        GlobalShortcutsPortal binder(client, [&activations](const QString& name, bool pressed) {
            activations.append(name + (pressed ? QStringLiteral(" down") : QStringLiteral(" up")));
        });
        binder.bind({{QStringLiteral("trovix-front"),
                      QStringLiteral("The menu"),
                      {},
                      {VirtualKey::M, ModifierFlag::Command}},
                     {QStringLiteral("trovix-all"),
                      QStringLiteral("All menus"),
                      {},
                      {VirtualKey::M, ModifierFlag::Command | ModifierFlag::Shift}}});
        QTRY_COMPARE(portal.bindings, 1);
        QVERIFY(!portal.session.isEmpty());
        QCOMPARE(portal.boundSession, portal.session);
        QCOMPARE(portal.shortcuts.keys(), QStringList({"trovix-all", "trovix-front"}));
        QCOMPARE(portal.shortcuts[QStringLiteral("trovix-front")]
                     .value(QStringLiteral("preferred_trigger"))
                     .toString(),
                 QStringLiteral("LOGO+m"));
        QCOMPARE(portal.shortcuts[QStringLiteral("trovix-all")]
                     .value(QStringLiteral("description"))
                     .toString(),
                 QStringLiteral("All menus"));

        portal.activate(QStringLiteral("trovix-front"), true);
        portal.activate(QStringLiteral("trovix-front"), false);
        // Another program's session is not ours.
        portal.activate(QStringLiteral("trovix-all"), true,
                        portalPath + QStringLiteral("/session/x/y"));
        QTRY_COMPARE(activations, QStringList({"trovix-front down", "trovix-front up"}));

        // Removing one binds the rest in the same session.
        binder.remove(QStringLiteral("trovix-front"));
        QTRY_COMPARE(portal.bindings, 2);
        QCOMPARE(portal.shortcuts.keys(), QStringList{"trovix-all"});
    }

    void noPortalReadsAsVersionZero()
    {
        QDBusConnection client = QDBusConnection::connectToBus(m_address, QStringLiteral("alone"));
        const auto leave =
            qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("alone")); });
        uint version = 99;
        QObject context;
        GlobalShortcutsPortal::probeVersion(client, &context, [&version](uint v) { version = v; });
        QTRY_COMPARE(version, 0u);
    }
};

TROVIX_TEST_MAIN(GlobalShortcutsPortalTest)
#include "global_shortcuts_portal_test.moc"
