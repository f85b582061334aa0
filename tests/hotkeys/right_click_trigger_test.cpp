#include "menus/QXRightClickTrigger.h"
#include "platform/input/memory/MemoryRightClickService.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace platform::ModifierFlag;
using platform::ModifierFlags;

namespace {

const QString ModifierKey = QStringLiteral("Enable Right Click Trigger: Modifier");

// The memory right-click service, and the menus the trigger asked for.
class TriggerEnvironment
{
public:
    TriggerEnvironment() : service(new platform::MemoryRightClickService())
    {
        platform::RightClickService::setCurrent(
            std::unique_ptr<platform::RightClickService>(service));
        QXSetRightClickTriggerAction([this](bool allApplications) {
            menus << (allApplications ? QStringLiteral("all") : QStringLiteral("frontmost"));
            return true;
        });
    }
    ~TriggerEnvironment()
    {
        QXSetRightClickTriggerEnabled(false);
        QXSetRightClickTriggerModifier(0);
        QXSetRightClickTriggerAction(nullptr);
        platform::RightClickService::setCurrent(nullptr);
    }
    TriggerEnvironment(const TriggerEnvironment&) = delete;
    TriggerEnvironment& operator=(const TriggerEnvironment&) = delete;

    TemporaryDefaults defaults;
    platform::MemoryRightClickService* service; // owned by RightClickService::current()
    QStringList menus;
    LogCapture log;
};

} // namespace

// Right clicks with the chosen modifier pop up a menu; all others pass.
class RightClickTriggerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modifierChoices_data()
    {
        QTest::addColumn<qint64>("choice");
        QTest::addColumn<quint64>("required");
        QTest::newRow("0 Command") << qint64(0) << quint64(Command);
        QTest::newRow("1 Option") << qint64(1) << quint64(Option);
        QTest::newRow("2 Control") << qint64(2) << quint64(Control);
        QTest::newRow("3 Function") << qint64(3) << quint64(Function);
        QTest::newRow("7 is Command") << qint64(7) << quint64(Command);
        QTest::newRow("-1 is Command") << qint64(-1) << quint64(Command);
    }

    void modifierChoices()
    {
        QFETCH(qint64, choice);
        QFETCH(quint64, required);
        TriggerEnvironment environment;
        QXSetRightClickTriggerModifier(choice);
        QXSetRightClickTriggerEnabled(true);
        QCOMPARE(environment.service->modifier(), required);

        QVERIFY(!environment.service->click(0));
        QVERIFY(environment.service->click(required | CapsLock));
        QVERIFY(environment.service->click(required | Shift));
        QCOMPARE(environment.menus, QStringList({"frontmost", "all"}));
    }

    void callbackDecides()
    {
        TriggerEnvironment environment;
        QXSetRightClickTriggerModifier(2);
        platform::Event click;
        click.type = platform::Event::Type::RightMouseDown;
        click.modifierFlags = Command;
        QVERIFY2(!QXRightClickTapCallback(click), "a Command click passes with Control chosen");
        click.modifierFlags = Control | Command;
        QVERIFY(QXRightClickTapCallback(click));
        click.modifierFlags = Control | Shift | LeftShift;
        QVERIFY(QXRightClickTapCallback(click));
        QCOMPARE(environment.menus, QStringList({"frontmost", "all"}));

        click.type = platform::Event::Type::LeftMouseDown;
        QVERIFY(!QXRightClickTapCallback(click));
        QCOMPARE(environment.log.lines(), QStringList{"tapped unknown CGEvent of type 0x1"});
    }

    void onAndOff()
    {
        TriggerEnvironment environment;
        QXSetRightClickTriggerEnabled(true);
        QXSetRightClickTriggerEnabled(true);
        QCOMPARE(environment.service->startRequests(), 1);
        QVERIFY(QXIsRightClickTriggerEnabled());

        QXSetRightClickTriggerEnabled(false);
        QVERIFY(!environment.service->isRunning());
        QVERIFY(!QXIsRightClickTriggerEnabled());
        QVERIFY(!environment.service->click(Command));
        QVERIFY(environment.menus.isEmpty());

        // Refused by the desktop: logged, off until it is turned on again.
        environment.service->setRefusing(true);
        QXSetRightClickTriggerEnabled(true);
        QVERIFY(!QXIsRightClickTriggerEnabled());
        QCOMPARE(environment.log.lines(), QStringList{"invalid port"});
        environment.service->setRefusing(false);
        QXSetRightClickTriggerModifier(1);
        QVERIFY(!environment.service->isRunning());
        QXSetRightClickTriggerEnabled(true);
        QCOMPARE(environment.service->modifier(), ModifierFlags(Option));
    }

    void newModifierTakesEffectAtOnce()
    {
        TriggerEnvironment environment;
        QXSetRightClickTriggerEnabled(true);
        QXSetRightClickTriggerModifier(2);
        QCOMPARE(environment.service->modifier(), ModifierFlags(Control));
        QVERIFY(!environment.service->click(Command));
        QVERIFY(environment.service->click(Control));

        // A change of the stored setting, from the preferences window or
        // from another process, is followed.
        environment.defaults.defaults().setInteger(1, ModifierKey);
        QTRY_COMPARE(environment.service->modifier(), ModifierFlags(Option));
        QCOMPARE(QXRightClickTriggerModifier(), 1);

        environment.service->setRefusing(true);
        environment.defaults.defaults().setInteger(0, ModifierKey);
        QTRY_VERIFY(!QXIsRightClickTriggerEnabled());
        QCOMPARE(environment.log.lines(), QStringList{"invalid port"});
    }
};

TROVIX_TEST_GUILESS_MAIN(RightClickTriggerTest)
#include "right_click_trigger_test.moc"
