#include "platform/input/KeyCombinationText.h"
#include "platform/input/VirtualKeyCodes.h"
#include "support/TestProgram.h"

#include <QtTest>

using namespace platform;
namespace Text = platform::KeyCombinationText;

Q_DECLARE_METATYPE(platform::KeyCombination)

// A stored hot key written in the texts of the desktops that bind keys
// outside of X11, and read back from them.
class KeyCombinationTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyDialectWritesAndReadsBack_data()
    {
        QTest::addColumn<KeyCombination>("combination");
        QTest::addColumn<QString>("portal");
        QTest::addColumn<QString>("sway");
        QTest::addColumn<QString>("gnome");
        QTest::newRow("super m") << KeyCombination{VirtualKey::M, ModifierFlag::Command} << "LOGO+m"
                                 << "Mod4+m"
                                 << "<Super>m";
        QTest::newRow("all four") << KeyCombination{VirtualKey::A,
                                                    ModifierFlag::Command | ModifierFlag::Control |
                                                        ModifierFlag::Shift | ModifierFlag::Option}
                                  << "CTRL+ALT+SHIFT+LOGO+a"
                                  << "Mod4+Ctrl+Shift+Mod1+a"
                                  << "<Super><Control><Shift><Alt>a";
        QTest::newRow("bare F key") << KeyCombination{VirtualKey::F1, 0} << "F1"
                                    << "F1"
                                    << "F1";
        QTest::newRow("space, alt")
            << KeyCombination{VirtualKey::Space, ModifierFlag::Option} << "ALT+space"
            << "Mod1+space"
            << "<Alt>space";
        QTest::newRow("punctuation")
            << KeyCombination{VirtualKey::Slash, ModifierFlag::Control} << "CTRL+slash"
            << "Ctrl+slash"
            << "<Control>slash";
        QTest::newRow("insert key")
            << KeyCombination{VirtualKey::Help, ModifierFlag::Shift} << "SHIFT+Insert"
            << "Shift+Insert"
            << "<Shift>Insert";
        QTest::newRow("keypad") << KeyCombination{VirtualKey::KeypadPlus, ModifierFlag::Control}
                                << "CTRL+KP_Add"
                                << "Ctrl+KP_Add"
                                << "<Control>KP_Add";
    }

    void everyDialectWritesAndReadsBack()
    {
        QFETCH(KeyCombination, combination);
        QFETCH(QString, portal);
        QFETCH(QString, sway);
        QFETCH(QString, gnome);
        QCOMPARE(Text::portalTrigger(combination), portal);
        QCOMPARE(Text::swayBinding(combination), sway);
        QCOMPARE(Text::gnomeAccelerator(combination), gnome);
        QCOMPARE(Text::fromPortalTrigger(portal), combination);
        QCOMPARE(Text::fromSwayBinding(sway), combination);
        QCOMPARE(Text::fromGnomeAccelerator(gnome), combination);
    }

    void flagsTheKeyCarriesItselfAreNotWritten()
    {
        // Settings store the F keys with Function, the arrows with Function
        // and the numeric pad flag: they are no held modifiers.
        const KeyCombination f5{VirtualKey::F5, ModifierFlag::Function | ModifierFlag::Command};
        QCOMPARE(Text::portalTrigger(f5), QStringLiteral("LOGO+F5"));
        const KeyCombination left{VirtualKey::LeftArrow, ModifierFlag::Function |
                                                             ModifierFlag::NumericPad |
                                                             ModifierFlag::Control};
        QCOMPARE(Text::gnomeAccelerator(left), QStringLiteral("<Control>Left"));
        // Side bits of the held modifiers do not matter either.
        const KeyCombination sided{VirtualKey::M,
                                   ModifierFlag::Command | ModifierFlag::LeftCommand};
        QCOMPARE(Text::swayBinding(sided), QStringLiteral("Mod4+m"));
    }

    void combinationsNoDesktopBindsHaveNoText()
    {
        // Fn held on a letter, and a key code no keyboard has.
        for (const KeyCombination& combination :
             {KeyCombination{VirtualKey::M, ModifierFlag::Function},
              KeyCombination{0x7F, ModifierFlag::Command},
              KeyCombination{VirtualKey::M, ModifierFlag::CapsLock}}) {
            QVERIFY(Text::portalTrigger(combination).isEmpty());
            QVERIFY(Text::swayBinding(combination).isEmpty());
            QVERIFY(Text::gnomeAccelerator(combination).isEmpty());
        }
    }

    void otherSpellingsAreRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("dialect");
        QTest::addColumn<KeyCombination>("combination");
        const KeyCombination superM{VirtualKey::M, ModifierFlag::Command};
        const KeyCombination controlReturn{VirtualKey::Return, ModifierFlag::Control};
        QTest::newRow("portal capital letter") << "LOGO+M" << 0 << superM;
        QTest::newRow("portal lower-case modifier") << "logo+m" << 0 << superM;
        QTest::newRow("sway Control") << "Control+Return" << 1 << controlReturn;
        QTest::newRow("sway Super") << "Super+m" << 1 << superM;
        QTest::newRow("gnome Primary") << "<Primary>Return" << 2 << controlReturn;
        QTest::newRow("gnome Ctrl") << "<Ctrl>Return" << 2 << controlReturn;
    }

    void otherSpellingsAreRead()
    {
        QFETCH(QString, text);
        QFETCH(int, dialect);
        QFETCH(KeyCombination, combination);
        const std::optional<KeyCombination> read = dialect == 0 ? Text::fromPortalTrigger(text)
                                                   : dialect == 1
                                                       ? Text::fromSwayBinding(text)
                                                       : Text::fromGnomeAccelerator(text);
        QCOMPARE(read, combination);
    }

    void malformedTextsAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("modifier only") << "LOGO+";
        QTest::newRow("modifier twice") << "CTRL+CTRL+a";
        QTest::newRow("unknown modifier") << "HYPER+a";
        QTest::newRow("unknown key") << "CTRL+nosuchkey";
        QTest::newRow("keysym in wrong case") << "CTRL+RETURN";
        QTest::newRow("unclosed bracket") << "<Super";
        QTest::newRow("very long") << QString(100000, u'+');
    }

    void malformedTextsAreRefused()
    {
        QFETCH(QString, text);
        QCOMPARE(Text::fromPortalTrigger(text), std::nullopt);
        QCOMPARE(Text::fromSwayBinding(text), std::nullopt);
        QCOMPARE(Text::fromGnomeAccelerator(text), std::nullopt);
    }
};

TROVIX_TEST_MAIN(KeyCombinationTextTest)
#include "key_combination_text_test.moc"
