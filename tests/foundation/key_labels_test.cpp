#include "foundation/QXExtension.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/memory/MemoryKeyboardLayout.h"

#include <QtTest>

using platform::MemoryKeyboardLayout;
namespace ModifierFlag = platform::ModifierFlag;
namespace VirtualKey = platform::VirtualKey;

using OptionalString = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalString)

namespace {

QString glyphs(std::initializer_list<char16_t> codePoints)
{
    QString text;
    for (char16_t codePoint : codePoints) {
        text += QChar(codePoint);
    }
    return text;
}

} // namespace

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

        QTest::newRow("F1") << 122 << OptionalString("F1") << OptionalString("F1");
        QTest::newRow("F19") << 80 << OptionalString("F19") << OptionalString("F19");
        QTest::newRow("Space") << 49 << OptionalString("Space") << OptionalString(" ");
        QTest::newRow("Escape") << 53 << OptionalString("Escape") << OptionalString("Escape");
        QTest::newRow("Help") << 114 << OptionalString("Help") << OptionalString("Help");
        QTest::newRow("keypad 0") << 82 << OptionalString("#0") << OptionalString("0");
        QTest::newRow("keypad 8") << 91 << OptionalString("#8") << OptionalString("8");
        QTest::newRow("keypad 9") << 92 << OptionalString("#9") << OptionalString("9");
        QTest::newRow("Tab") << 48 << OptionalString(glyphs({0x21E5})) << OptionalString("\t");
        QTest::newRow("Return") << 36 << OptionalString(glyphs({0x21B5})) << OptionalString("\n");
        QTest::newRow("Enter") << 76 << OptionalString(glyphs({0x2305}))
                               << OptionalString(glyphs({0x2305}));
        QTest::newRow("Delete") << 51 << OptionalString(glyphs({0x232B}))
                                << OptionalString(glyphs({0x232B}));
        QTest::newRow("Forward Delete")
            << 117 << OptionalString(glyphs({0x2326})) << OptionalString(glyphs({0x2326}));
        QTest::newRow("Left Arrow")
            << 123 << OptionalString(glyphs({0x2190})) << OptionalString(glyphs({0x2190}));
        QTest::newRow("Up Arrow") << 126 << OptionalString(glyphs({0x2191}))
                                  << OptionalString(glyphs({0x2191}));
        QTest::newRow("Page Down")
            << 121 << OptionalString(glyphs({0x21DF})) << OptionalString(glyphs({0x21DF}));
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
        QTest::newRow("Q") << int(VirtualKey::Q) << OptionalString("q") << OptionalString("Q")
                           << OptionalString("q");
        QTest::newRow("digit") << int(VirtualKey::Digit1) << OptionalString("1")
                               << OptionalString("1") << OptionalString("1");
        QTest::newRow("u umlaut") << int(VirtualKey::LeftBracket)
                                  << OptionalString(QStringLiteral("\u00fc"))
                                  << OptionalString(QStringLiteral("\u00dc"))
                                  << OptionalString(QStringLiteral("\u00fc"));
        // Letters outside the letter table show in lower case.
        QTest::newRow("e acute") << int(VirtualKey::Digit2)
                                 << OptionalString(QStringLiteral("\u00c9"))
                                 << OptionalString(QStringLiteral("\u00e9"))
                                 << OptionalString(QStringLiteral("\u00e9"));
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
        QTest::newRow("control command") << quint64(ModifierFlag::Control | ModifierFlag::Command)
                                         << false << glyphs({0x2303, 0x2318});
        QTest::newRow("fixed order") << quint64(ModifierFlag::Command | ModifierFlag::Shift |
                                                ModifierFlag::Option | ModifierFlag::Control)
                                     << false << glyphs({0x2303, 0x2325, 0x21E7, 0x2318});
        QTest::newRow("right command, exact")
            << quint64(ModifierFlag::Command | ModifierFlag::RightCommand) << true
            << glyphs({0x24C7, 0x2318});
        QTest::newRow("right command, not exact")
            << quint64(ModifierFlag::Command | ModifierFlag::RightCommand) << false
            << glyphs({0x2318});
        QTest::newRow("both shifts, exact")
            << quint64(ModifierFlag::Shift | ModifierFlag::LeftShift | ModifierFlag::RightShift)
            << true << glyphs({0x24C1, 0x24C7, 0x21E7});
        QTest::newRow("left control and right option, exact")
            << quint64(ModifierFlag::Control | ModifierFlag::LeftControl | ModifierFlag::Option |
                       ModifierFlag::RightOption)
            << true << glyphs({0x24C1, 0x2303, 0x24C7, 0x2325});
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

    void modifierGlyphs()
    {
        QCOMPARE(QXExtension::shiftKeyLabelString(), glyphs({0x21E7}));
        QCOMPARE(QXExtension::controlKeyLabelString(), glyphs({0x2303}));
        QCOMPARE(QXExtension::alternateKeyLabelString(), glyphs({0x2325}));
        QCOMPARE(QXExtension::commandKeyLabelString(), glyphs({0x2318}));
    }

    void trimmingModifierPrefix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");

        QTest::newRow("command shift caret") << glyphs({0x2318, 0x21E7, u'^'}) << "^";
        QTest::newRow("option command K") << glyphs({0x2325, 0x2318, u'K'}) << "K";
        QTest::newRow("command alone") << glyphs({0x2318}) << "";
        QTest::newRow("caret before the glyphs") << glyphs({u'^', 0x2318}) << "";
        QTest::newRow("side markers and trailing glyph")
            << glyphs({0x24C1, 0x2303, u'F', u'1', 0x21E7}) << "F1";
        QTest::newRow("glyph inside is kept")
            << glyphs({u'A', 0x2318, u'B'}) << glyphs({u'A', 0x2318, u'B'});
        QTest::newRow("empty") << ""
                               << "";
    }

    void trimmingModifierPrefix()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(QXExtension::stringByTrimmingModifierPrefix(text), trimmed);
    }

    void keyCapCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keyCap");

        QTest::newRow("k") << "k"
                           << "K";
        QTest::newRow("K") << "K"
                           << "K";
        QTest::newRow("u umlaut") << QStringLiteral("\u00fc") << QStringLiteral("\u00dc");
        QTest::newRow("E acute") << QStringLiteral("\u00c9") << QStringLiteral("\u00e9");
        QTest::newRow("run of the table") << "xyz"
                                          << "XYZ";
        QTest::newRow("not a run of the table") << "Ab"
                                                << "ab";
        QTest::newRow("digit") << "7"
                               << "7";
        QTest::newRow("empty") << ""
                               << "";
    }

    void keyCapCase()
    {
        QFETCH(QString, text);
        QFETCH(QString, keyCap);
        QCOMPARE(QXExtension::keyboardLabelString(text), keyCap);
    }

    void trimmedString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");

        QTest::newRow("spaces and breaks") << " \t\r\n a b \n"
                                           << "a b";
        QTest::newRow("unicode separators")
            << QStringLiteral("\u2028\u00a0name\u2029\u0085") << "name";
        QTest::newRow("blank") << " \n "
                               << "";
    }

    void trimmedString()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(QXExtension::trimmedString(text), trimmed);
    }
};

QTEST_GUILESS_MAIN(KeyLabelsTest)
#include "key_labels_test.moc"
