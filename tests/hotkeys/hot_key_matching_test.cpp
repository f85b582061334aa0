#include "HotKeyTestEnvironment.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace HotKeyTest;
using platform::Event;
using platform::ModifierFlags;

namespace {
enum Setting
{
    Exact = 1,
    CapsLockCounts = 2,
    FunctionCounts = 4
};
} // namespace

// When a hot key counts as pressed, and when two hot keys count as the same.
class HotKeyMatchingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modifierFlags_data()
    {
        QTest::addColumn<quint64>("recorded");
        QTest::addColumn<quint64>("pressed");
        QTest::addColumn<int>("settings"); // Setting flags switched on
        QTest::addColumn<bool>("matches");

        const ModifierFlags cmdOpt = Command | Option;
        const ModifierFlags leftCmd = Command | LeftCommand;
        QTest::newRow("same modifiers") << cmdOpt << cmdOpt << 0 << true;
        QTest::newRow("Caps Lock on is ignored") << cmdOpt << (cmdOpt | CapsLock) << 0 << true;
        QTest::newRow("Function held is ignored") << cmdOpt << (cmdOpt | Function) << 0 << true;
        QTest::newRow("Caps Lock on counts when accounted for")
            << cmdOpt << (cmdOpt | CapsLock) << int(CapsLockCounts) << false;
        QTest::newRow("Function counts when accounted for")
            << cmdOpt << (cmdOpt | Function) << int(FunctionCounts) << false;
        QTest::newRow("a missing modifier") << cmdOpt << Command << 0 << false;
        QTest::newRow("an extra modifier") << cmdOpt << (cmdOpt | Shift) << 0 << false;
        QTest::newRow("numeric pad is compared") << cmdOpt << (cmdOpt | NumericPad) << 0 << false;
        QTest::newRow("sides are not compared by default")
            << leftCmd << (Command | RightCommand) << 0 << true;
        QTest::newRow("exact: the other side does not match")
            << leftCmd << (Command | RightCommand) << int(Exact) << false;
        QTest::newRow("exact: the same side matches") << leftCmd << leftCmd << int(Exact) << true;
        QTest::newRow("exact: an event without sides matches")
            << leftCmd << ModifierFlags(Command) << int(Exact) << true;
        QTest::newRow("exact: both sides held against one")
            << (Control | LeftControl) << (Control | LeftControl | RightControl) << int(Exact)
            << false;
    }

    void modifierFlags()
    {
        QFETCH(quint64, recorded);
        QFETCH(quint64, pressed);
        QFETCH(int, settings);
        QFETCH(bool, matches);
        Environment environment;
        platform::UserDefaults& defaults = environment.settings();
        defaults.setBool(settings & Exact,
                         QStringLiteral("Hot Keys Require Exact Modifier Key Matches"));
        defaults.setBool(settings & CapsLockCounts,
                         QStringLiteral("Hot Keys Account For Caps Lock Status"));
        defaults.setBool(settings & FunctionCounts,
                         QStringLiteral("Hot Keys Account For Function Key Status"));

        const auto key = hotKey(KeyM, recorded);
        QCOMPARE(key->matchesModifierFlags(pressed), matches);
        // Equality of two hot keys follows the same rules.
        QCOMPARE(key->isEqualToHotKey(hotKey(KeyM, pressed).get()), matches);
    }

    void keyCodeAndEvents()
    {
        Environment environment;
        Owner owner;
        const auto key = hotKey(KeyM, Command | Option);
        QVERIFY(key->isEqualToHotKey(key.get()));
        QVERIFY(!key->isEqualToHotKey(nullptr));
        QVERIFY(!key->isEqualToHotKey(hotKey(KeyP, Command | Option).get()));
        Event keyDown;
        keyDown.type = Event::Type::KeyDown;
        keyDown.keyCode = KeyM;
        keyDown.modifierFlags = Command | Option | CapsLock;
        QVERIFY(key->matchesEvent(&keyDown));
        keyDown.keyCode = KeyP;
        QVERIFY(!key->matchesEvent(&keyDown));
        QVERIFY(!key->matchesEvent(nullptr));

        // Presses delivered by the service match the registration, whatever
        // key code they carry.
        Event press;
        press.type = Event::Type::SystemDefined;
        press.subtype = Event::HotKeyPressedSubtype;
        press.modifierFlags = Command | Option;
        press.keyCode = KeyP;
        QVERIFY2(!key->matchesEvent(&press), "an unregistered hot key has no presses");
        QVERIFY(key->registerForDelegate(owner));
        press.data1 = qint64(key->hotKeyReference());
        QVERIFY(key->matchesEvent(&press));
        press.data1 = qint64(key->hotKeyReference() | (quint64(7) << 32));
        QVERIFY2(key->matchesEvent(&press), "only the low 32 bits of the handle are compared");
        press.data1 = qint64(key->hotKeyReference() + 1);
        QVERIFY(!key->matchesEvent(&press));
        press.data1 = qint64(key->hotKeyReference());
        press.modifierFlags = Command;
        QVERIFY(!key->matchesEvent(&press));

        Event release = press;
        release.modifierFlags = Command | Option;
        release.subtype = Event::HotKeyReleasedSubtype;
        QVERIFY(!key->matchesEvent(&release));
        Event keyUp = keyDown;
        keyUp.type = Event::Type::KeyUp;
        keyUp.keyCode = KeyM;
        QVERIFY(!key->matchesEvent(&keyUp));
    }
};

TROVIX_TEST_GUILESS_MAIN(HotKeyMatchingTest)
#include "hot_key_matching_test.moc"
