#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/desktop/DesktopHotKeyChoice.h"
#include "platform/input/desktop/DesktopHotKeyService.h"
#include "support/TestProgram.h"

#include <QtTest>

using namespace platform;

Q_DECLARE_METATYPE(platform::HotKeyMechanism)

namespace {

// Records what the service asks of the desktop.
class RecordingBinder : public DesktopShortcutBinder
{
public:
    RecordingBinder(HotKeyMechanism mechanism, QStringList* log)
        : m_mechanism(mechanism), m_log(log)
    {}
    HotKeyMechanism mechanism() const override { return m_mechanism; }
    void bind(const QList<DesktopShortcut>& shortcuts) override
    {
        QStringList entries;
        for (const DesktopShortcut& shortcut : shortcuts) {
            entries.append(shortcut.name + u'=' +
                           KeyCombinationText::portalTrigger(shortcut.combination));
        }
        m_log->append(QStringLiteral("bind ") + entries.join(u' '));
    }
    void remove(const QString& name) override { m_log->append(QStringLiteral("remove ") + name); }

private:
    HotKeyMechanism m_mechanism;
    QStringList* m_log;
};

const HotKeyPurpose front{QStringLiteral("trovix-front"),
                          QStringLiteral("Menu"),
                          {QStringLiteral("/usr/bin/trovix"), QStringLiteral("popup")}};
const HotKeyPurpose all{
    QStringLiteral("trovix-all"),
    QStringLiteral("All menus"),
    {QStringLiteral("/usr/bin/trovix"), QStringLiteral("popup"), QStringLiteral("--all")}};

} // namespace

// Hot keys that the desktop binds in a Wayland session: what is asked of the
// desktop when, which mechanism is chosen, and the line a user adds by hand.
class DesktopHotKeysTest : public QObject
{
    Q_OBJECT

private:
    QStringList m_log;

    std::unique_ptr<DesktopHotKeyService> service(HotKeyMechanism mechanism,
                                                  const QString& desktop = QString())
    {
        m_log.clear();
        return std::make_unique<DesktopHotKeyService>(
            mechanism,
            [this](HotKeyMechanism chosen) {
                return std::make_unique<RecordingBinder>(chosen, &m_log);
            },
            desktop);
    }

private Q_SLOTS:
    void cleanup() { HotKeyService::setEventHandler({}); }

    void theDesktopGetsEachHotKeyByPurposeOnceAndKeepsItUntilRemoved()
    {
        auto hotKeys = service(HotKeyMechanism::Portal);
        const auto first =
            hotKeys->registerHotKey(VirtualKey::M, ModifierFlag::Command, 0, 0, nullptr);
        hotKeys->describeRegistration(*first, front);
        const auto second = hotKeys->registerHotKey(
            VirtualKey::M, ModifierFlag::Command | ModifierFlag::Shift, 0, 1, nullptr);
        hotKeys->describeRegistration(*second, all);
        QTRY_COMPARE(m_log, QStringList{"bind trovix-front=LOGO+m trovix-all=SHIFT+LOGO+m"});

        // A new combination for the same purpose replaces the old one.
        const auto third =
            hotKeys->registerHotKey(VirtualKey::F5, ModifierFlag::Function, 0, 2, nullptr);
        hotKeys->describeRegistration(*third, front);
        hotKeys->unregisterHotKey(*first);
        QTRY_COMPARE(m_log.size(), 2);
        QCOMPARE(m_log.last(), QStringLiteral("bind trovix-all=SHIFT+LOGO+m trovix-front=F5"));

        // Ending a registration (the program quits) leaves the desktop alone;
        // the user's removal takes the binding away.
        hotKeys->unregisterHotKey(*third);
        hotKeys->removeDesktopBinding(front.name);
        QTest::qWait(10);
        QCOMPARE(m_log.last(), QStringLiteral("remove trovix-front"));
    }

    void combinationsTheDesktopCannotTakeAreRefused()
    {
        auto hotKeys = service(HotKeyMechanism::Portal);
        HotKeyRefusal refusal = HotKeyRefusal::Unavailable;
        QVERIFY(!hotKeys->registerHotKey(VirtualKey::M, ModifierFlag::Function, 0, 0, &refusal));
        QCOMPARE(refusal, HotKeyRefusal::NotInKeyboardMapping);
        QVERIFY(hotKeys->registerHotKey(VirtualKey::M, ModifierFlag::Command, 0, 0, nullptr));
        QVERIFY(!hotKeys->registerHotKey(
            VirtualKey::M, ModifierFlag::Command | ModifierFlag::LeftCommand, 0, 1, &refusal));
        QCOMPARE(refusal, HotKeyRefusal::HeldElsewhere);
    }

    void anActivationArrivesAsTheHotKeysPressAndRelease()
    {
        auto hotKeys = service(HotKeyMechanism::Portal);
        QList<Event> events;
        HotKeyService::setEventHandler([&events](const Event& event) { events.append(event); });
        const auto handle =
            hotKeys->registerHotKey(VirtualKey::F5, ModifierFlag::Function, 0, 0, nullptr);
        hotKeys->describeRegistration(*handle, front);
        hotKeys->shortcutActivated(front.name, true);
        hotKeys->shortcutActivated(front.name, true); // held: no second press
        hotKeys->shortcutActivated(QStringLiteral("someone-else"), true);
        hotKeys->shortcutActivated(front.name, false);
        QTRY_COMPARE(events.size(), 2);
        QCOMPARE(events[0].type, Event::Type::SystemDefined);
        QCOMPARE(events[0].subtype, Event::HotKeyPressedSubtype);
        QCOMPARE(events[0].data1, qint64(*handle));
        QCOMPARE(events[0].keyCode, VirtualKey::F5);
        QCOMPARE(events[0].modifierFlags, ModifierFlag::Function);
        QCOMPARE(events[1].subtype, Event::HotKeyReleasedSubtype);
    }

    void gnomeSettingsChangeOnlyWithPermission()
    {
        auto hotKeys = service(HotKeyMechanism::GnomeSettings, QStringLiteral("ubuntu:GNOME"));
        QVERIFY(hotKeys->needsPermission());
        const auto handle =
            hotKeys->registerHotKey(VirtualKey::M, ModifierFlag::Command, 0, 0, nullptr);
        hotKeys->describeRegistration(*handle, front);
        hotKeys->removeDesktopBinding(all.name);
        QTest::qWait(10);
        QVERIFY(m_log.isEmpty());

        hotKeys->setDesktopSettingsAllowed(true);
        QVERIFY(!hotKeys->needsPermission());
        QCOMPARE(hotKeys->mechanism(), HotKeyMechanism::GnomeSettings);
        QTRY_COMPARE(m_log, QStringList{"bind trovix-front=LOGO+m"});
        QCOMPARE(hotKeys->configurationLine(VirtualKey::M, ModifierFlag::Command, front.command),
                 QString());

        // Refused: the user sets the command by hand.
        auto refused = service(HotKeyMechanism::GnomeSettings, QStringLiteral("GNOME"));
        refused->setDesktopSettingsAllowed(false);
        QCOMPARE(refused->mechanism(), HotKeyMechanism::ConfigurationLine);
        QCOMPARE(refused->configurationLine(VirtualKey::M, ModifierFlag::Command, all.command),
                 QStringLiteral("/usr/bin/trovix popup --all"));
    }

    void elsewhereTheUserGetsTheLineForTheCompositor()
    {
        auto hotKeys = service(HotKeyMechanism::ConfigurationLine, QStringLiteral("sway"));
        const auto handle =
            hotKeys->registerHotKey(VirtualKey::M, ModifierFlag::Command, 0, 0, nullptr);
        QVERIFY(handle);
        hotKeys->describeRegistration(*handle, front);
        QTest::qWait(10);
        QVERIFY(m_log.isEmpty());
        QCOMPARE(hotKeys->configurationLine(VirtualKey::M, ModifierFlag::Command, front.command),
                 QStringLiteral("bindsym Mod4+m exec /usr/bin/trovix popup"));
        QCOMPARE(hotKeys->configurationLine(VirtualKey::Space, ModifierFlag::Option,
                                            {QStringLiteral("/opt/my apps/trovix"),
                                             QStringLiteral("popup"), QStringLiteral("--all")}),
                 QStringLiteral("bindsym Mod1+space exec '/opt/my apps/trovix' popup --all"));
    }

    void theMechanismFollowsTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<uint>("portalVersion");
        QTest::addColumn<bool>("sandboxed");
        QTest::addColumn<HotKeyMechanism>("mechanism");
        QTest::newRow("KDE") << "KDE" << 1u << false << HotKeyMechanism::KdeService;
        QTest::newRow("KDE, sandboxed") << "KDE" << 1u << true << HotKeyMechanism::Portal;
        QTest::newRow("GNOME with the portal") << "GNOME" << 1u << false << HotKeyMechanism::Portal;
        QTest::newRow("GNOME before it")
            << "ubuntu:GNOME" << 0u << false << HotKeyMechanism::GnomeSettings;
        QTest::newRow("sway") << "sway" << 0u << false << HotKeyMechanism::ConfigurationLine;
        QTest::newRow("Hyprland") << "Hyprland" << 1u << false << HotKeyMechanism::Portal;
        QTest::newRow("nothing said") << "" << 0u << false << HotKeyMechanism::ConfigurationLine;
    }

    void theMechanismFollowsTheDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(uint, portalVersion);
        QFETCH(bool, sandboxed);
        QFETCH(HotKeyMechanism, mechanism);
        QCOMPARE(DesktopHotKeyChoice::choose(desktop, portalVersion, sandboxed), mechanism);
    }

    void onlyWaylandSessionsNeedTheDesktop()
    {
        const auto environment =
            [](std::initializer_list<std::pair<const char*, const char*>> values) {
                QProcessEnvironment result;
                for (const auto& [name, value] : values) {
                    result.insert(QLatin1String(name), QLatin1String(value));
                }
                return result;
            };
        QVERIFY(DesktopHotKeyChoice::needsDesktop(environment({{"WAYLAND_DISPLAY", "wayland-0"}})));
        QVERIFY(DesktopHotKeyChoice::needsDesktop(environment({{"XDG_SESSION_TYPE", "Wayland"}})));
        QVERIFY(!DesktopHotKeyChoice::needsDesktop(
            environment({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}})));
        QVERIFY(!DesktopHotKeyChoice::needsDesktop(environment({})));
    }
};

TROVIX_TEST_MAIN(DesktopHotKeysTest)
#include "desktop_hot_keys_test.moc"
