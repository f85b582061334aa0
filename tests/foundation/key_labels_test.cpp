#include "foundation/QXExtension.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/memory/MemoryKeyboardLayout.h"
#include "support/TestProgram.h"

#include <QtTest>

using platform::MemoryKeyboardLayout;
namespace ModifierFlag = platform::ModifierFlag;
namespace VirtualKey = platform::VirtualKey;

using OptionalString = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalString)

class KeyLabelsTest : public QObject
{
    Q_OBJECT

private:
    MemoryKeyboardLayout* m_layout = nullptr;

private Q_SLOTS:
    void init()
    {
        auto layout = std::make_unique<MemoryKeyboardLayout>(MemoryKeyboardLayout::usLetterKeys());
        m_layout = layout.get();
        platform::KeyboardLayout::setCurrent(std::move(layout));
    }

    void cleanup()
    {
        m_layout = nullptr;
        platform::KeyboardLayout::setCurrent(nullptr);
    }

    void fixedKeys_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<OptionalString>("label");
        QTest::addColumn<OptionalString>("keyEquivalent");

        QTest::newRow("F1 keeps its name") << 122 << OptionalString("F1") << OptionalString("F1");
        QTest::newRow("Space") << 49 << OptionalString("Space") << OptionalString(" ");
        // The key at this code is Insert on the keyboards Trovix runs with.
        QTest::newRow("Insert") << 114 << OptionalString("Insert") << OptionalString("Insert");
        QTest::newRow("keypad 0") << 82 << OptionalString("#0") << OptionalString("0");
        QTest::newRow("keypad 8 after the gap")
            << 91 << OptionalString("#8") << OptionalString("8");
        QTest::newRow("Tab") << 48 << OptionalString("⇥") << OptionalString("\t");
        QTest::newRow("Return") << 36 << OptionalString("↵") << OptionalString("\n");
        QTest::newRow("Enter") << 76 << OptionalString("⌅") << OptionalString("⌅");
        QTest::newRow("Page Down") << 121 << OptionalString("⇟") << OptionalString("⇟");
    }

    void fixedKeys()
    {
        QFETCH(int, keyCode);
        QFETCH(OptionalString, label);
        QFETCH(OptionalString, keyEquivalent);
        QCOMPARE(QXExtension::stringRepresentingKeyCode(quint16(keyCode), false), label);
        QCOMPARE(QXExtension::stringRepresentingKeyCode(quint16(keyCode), true), keyEquivalent);
        // The tables answer before the keyboard layout is asked.
        QCOMPARE(m_layout->queryCount(), 0);
    }

    void layoutKeys_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<OptionalString>("layoutCharacter");
        QTest::addColumn<OptionalString>("label");
        QTest::addColumn<OptionalString>("keyEquivalent");

        QTest::newRow("A") << int(VirtualKey::A) << OptionalString("a") << OptionalString("A")
                           << OptionalString("a");
        QTest::newRow("u umlaut") << int(VirtualKey::LeftBracket) << OptionalString("ü")
                                  << OptionalString("Ü") << OptionalString("ü");
        // Letters outside the letter table show in lower case.
        QTest::newRow("e acute") << int(VirtualKey::Digit2) << OptionalString("É")
                                 << OptionalString("é") << OptionalString("é");
        QTest::newRow("dead key") << int(VirtualKey::Grave) << OptionalString() << OptionalString()
                                  << OptionalString();
        QTest::newRow("two characters") << int(VirtualKey::Quote) << OptionalString("ab")
                                        << OptionalString() << OptionalString();
        QTest::newRow("outside the basic plane")
            << int(VirtualKey::Slash) << OptionalString(QString::fromUtf8("\U0001F600"))
            << OptionalString() << OptionalString();
    }

    void layoutKeys()
    {
        QFETCH(int, keyCode);
        QFETCH(OptionalString, layoutCharacter);
        QFETCH(OptionalString, label);
        QFETCH(OptionalString, keyEquivalent);
        if (layoutCharacter) {
            m_layout->setCharacter(quint16(keyCode), *layoutCharacter);
        } else {
            m_layout->removeCharacter(quint16(keyCode));
        }
        QCOMPARE(QXExtension::stringRepresentingKeyCode(quint16(keyCode), false), label);
        QCOMPARE(QXExtension::stringRepresentingKeyCode(quint16(keyCode), true), keyEquivalent);
    }

    void layoutChangesAreFollowed()
    {
        QCOMPARE(QXExtension::stringRepresentingKeyCode(VirtualKey::Z, false), OptionalString("Z"));
        m_layout->setCharacter(VirtualKey::Z, QStringLiteral("y"));
        QCOMPARE(QXExtension::stringRepresentingKeyCode(VirtualKey::Z, false), OptionalString("Y"));
    }

    void modifierFlags_data()
    {
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("label");

        QTest::newRow("none") << quint64(0) << true << QString();
        QTest::newRow("side bits alone") << quint64(ModifierFlag::SideMask) << true << QString();
        QTest::newRow("control command")
            << quint64(ModifierFlag::Control | ModifierFlag::Command) << false << "⌃⌘";
        QTest::newRow("fixed order") << quint64(ModifierFlag::Command | ModifierFlag::Shift |
                                                ModifierFlag::Option | ModifierFlag::Control)
                                     << false << "⌃⌥⇧⌘";
        QTest::newRow("right command, exact")
            << quint64(ModifierFlag::Command | ModifierFlag::RightCommand) << true << "Ⓡ⌘";
        QTest::newRow("both shifts, exact")
            << quint64(ModifierFlag::Shift | ModifierFlag::LeftShift | ModifierFlag::RightShift)
            << true << "ⓁⓇ⇧";
        QTest::newRow("other bits are ignored")
            << quint64(ModifierFlag::CapsLock | ModifierFlag::Function | ModifierFlag::NumericPad)
            << false << QString();
    }

    void modifierFlags()
    {
        QFETCH(quint64, flags);
        QFETCH(bool, exact);
        QFETCH(QString, label);
        QCOMPARE(QXExtension::stringRepresentingModifierFlags(flags, exact), label);
    }

    void trimmingModifierPrefix()
    {
        const auto trim = [](const char* text) {
            return QXExtension::stringByTrimmingModifierPrefix(QString::fromUtf8(text));
        };
        QCOMPARE(trim("⌘⇧^"), QStringLiteral("^")); // the caret key itself
        QCOMPARE(trim("⌥⌘K"), QStringLiteral("K"));
        QCOMPARE(trim("⌘"), QString());
        QCOMPARE(trim("^⌘"), QString());
        QCOMPARE(trim("Ⓛ⌃F1⇧"), QStringLiteral("F1"));
        QCOMPARE(trim("A⌘B"), QStringLiteral("A⌘B"));
    }

    void keyCapCase()
    {
        // Single letters go through layoutKeys; a run of the table counts as in it.
        QCOMPARE(QXExtension::keyboardLabelString(QStringLiteral("xyz")), QStringLiteral("XYZ"));
        QCOMPARE(QXExtension::keyboardLabelString(QStringLiteral("Ab")), QStringLiteral("ab"));
        QCOMPARE(QXExtension::keyboardLabelString(QString()), QString());
    }

    void trimmedStringRemovesWhiteSpaceAndLineBreaks()
    {
        QCOMPARE(QXExtension::trimmedString(QStringLiteral("\u2028\u00a0\t a b \r\n\u0085")),
                 QStringLiteral("a b"));
        QCOMPARE(QXExtension::trimmedString(QStringLiteral(" \n ")), QString());
    }
};

TROVIX_TEST_GUILESS_MAIN(KeyLabelsTest)
#include "key_labels_test.moc"
