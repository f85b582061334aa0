#include "HotKeyTestEnvironment.h"

#include <QTest>

using namespace HotKeyTest;
using platform::Event;
using platform::ModifierFlags;

// When a hot key counts as pressed, and when two hot keys count as the same.
class HotKeyMatchingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modifierFlags_data()
    {
        QTest::addColumn<quint64>("recorded");
        QTest::addColumn<quint64>("pressed");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<bool>("accountForCapsLock");
        QTest::addColumn<bool>("accountForFunction");
        QTest::addColumn<bool>("matches");

        const ModifierFlags commandOption = Command | Option;
        QTest::newRow("same modifiers")
            << commandOption << commandOption << false << false << false << true;
        QTest::newRow("Caps Lock on is ignored")
            << commandOption << (commandOption | CapsLock) << false << false << false << true;
        QTest::newRow("Function held is ignored")
            << commandOption << (commandOption | Function) << false << false << false << true;
        QTest::newRow("Caps Lock on counts when accounted for")
            << commandOption << (commandOption | CapsLock) << false << true << false << false;
        QTest::newRow("Function counts when accounted for")
            << commandOption << (commandOption | Function) << false << false << true << false;
        QTest::newRow("a missing modifier")
            << commandOption << Command << false << false << false << false;
        QTest::newRow("an extra modifier")
            << commandOption << (commandOption | Shift) << false << false << false << false;
        QTest::newRow("numeric pad is compared")
            << commandOption << (commandOption | NumericPad) << false << false << false << false;
        QTest::newRow("sides are not compared by default")
            << (Command | LeftCommand) << (Command | RightCommand) << false << false << false
            << true;
        QTest::newRow("exact: the other side does not match")
            << (Command | LeftCommand) << (Command | RightCommand) << true << false << false
            << false;
        QTest::newRow("exact: the same side matches")
            << (Command | LeftCommand) << (Command | LeftCommand) << true << false << false << true;
        QTest::newRow("exact: an event without sides matches")
            << (Command | LeftCommand) << ModifierFlags(Command) << true << false << false << true;
        QTest::newRow("exact: both sides held against one")
            << (Control | LeftControl) << (Control | LeftControl | RightControl) << true << false
            << false << false;
    }

    void modifierFlags()
    {
        QFETCH(quint64, recorded);
        QFETCH(quint64, pressed);
        QFETCH(bool, exact);
        QFETCH(bool, accountForCapsLock);
        QFETCH(bool, accountForFunction);
        QFETCH(bool, matches);
        Environment environment;
        platform::UserDefaults& settings = environment.settings();
        settings.setBool(exact, QStringLiteral("Hot Keys Require Exact Modifier Key Matches"));
        settings.setBool(accountForCapsLock,
                         QStringLiteral("Hot Keys Account For Caps Lock Status"));
        settings.setBool(accountForFunction,
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

QTEST_GUILESS_MAIN(HotKeyMatchingTest)
#include "hot_key_matching_test.moc"
