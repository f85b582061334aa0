#include "platform/accessibility/MenuKeyBinding.h"

#include <QTest>

using platform::MenuKeyBinding;

// Key bindings as GTK and Qt publish them become the key equivalent the menus
// read: an upper-case character or a virtual key code, and the menu-glyph
// modifier bits (1 Shift, 2 Option, 4 Control, 8 no Command).
class KeyBindingsTest : public QObject
{
    Q_OBJECT

    static void row(const char* name, const char* text, const char* character, int virtualKey,
                    int modifiers)
    {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(character) << virtualKey
                            << modifiers;
    }

private Q_SLOTS:
    void parsesBothDialects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("virtualKey"); // -1: none
        QTest::addColumn<int>("modifiers");

        // GTK: mnemonic;path;accelerator
        row("gtk primary shift", "w;<Alt>f:w;<Primary><Shift>n", "N", -1, 13);
        row("gtk control", ";;<Control>q", "Q", -1, 12);
        row("gtk alt", "b;;<Alt>Left", "", 123, 10);
        row("gtk super", ";;<Super>s", "S", -1, 0);
        row("gtk every modifier", ";;<Control><Alt><Shift><Super>x", "X", -1, 7);
        row("gtk named key alone", ";;F1", "", 122, 8);
        row("gtk forward delete", ";;Delete", "", 117, 8);
        row("gtk backspace", ";;<Control>BackSpace", "", 51, 12);
        row("gtk keypad digit", ";;KP_3", "", 85, 8);
        row("gtk punctuation by name", ";;<Primary>plus", "+", -1, 12);
        row("gtk comma", ";;<Primary>comma", ",", -1, 12);
        row("gtk digit", ";;<Primary><Alt>1", "1", -1, 14);

        // Qt text form
        row("qt ctrl shift", "Ctrl+Shift+S", "S", -1, 13);
        row("qt lower-case letter", "Ctrl+q", "Q", -1, 12);
        row("qt meta", "Meta+S", "S", -1, 0);
        row("qt function key", "F11", "", 103, 8);
        row("qt f19", "F19", "", 80, 8);
        row("qt arrow", "Alt+Right", "", 124, 10);
        row("qt plus key", "Ctrl++", "+", -1, 12);
        row("qt comma", "Ctrl+,", ",", -1, 12);
        row("qt del", "Del", "", 117, 8);
        row("qt return", "Ctrl+Return", "", 36, 12);
        row("qt enter is keypad", "Enter", "", 76, 8);
        row("qt pgdown", "PgDown", "", 121, 8);
        row("qt keypad digit", "Num+5", "", 87, 8);
        row("qt first of several", "Ctrl+W, Ctrl+F4", "W", -1, 12);
    }

    void parsesBothDialects()
    {
        QFETCH(QString, text);
        QFETCH(QString, character);
        QFETCH(int, virtualKey);
        QFETCH(int, modifiers);

        const std::optional<MenuKeyBinding> binding = MenuKeyBinding::fromKeyBindingText(text);
        QVERIFY(binding);
        QCOMPARE(binding->character(), character);
        QCOMPARE(binding->virtualKey().value_or(-1), virtualKey);
        QCOMPARE(binding->modifiers(), modifiers);
    }

    void textsWithoutAcceleratorGiveNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("gtk mnemonic only") << "f;;";
        QTest::newRow("gtk mnemonic and path") << "w;<Alt>f:w;";
        QTest::newRow("gtk too few fields") << "f;x";
        QTest::newRow("gtk unclosed modifier") << ";;<Control";
        QTest::newRow("gtk unknown key name") << ";;<Control>XF86Launch1";
        QTest::newRow("qt unknown modifier") << "Hyperdrive+S";
        QTest::newRow("qt modifier without key") << "Ctrl+";
    }

    void textsWithoutAcceleratorGiveNothing()
    {
        QFETCH(QString, text);
        QVERIFY(!MenuKeyBinding::fromKeyBindingText(text));
    }
};

QTEST_GUILESS_MAIN(KeyBindingsTest)
#include "key_bindings_test.moc"
