#include "platform/accessibility/MenuKeyBinding.h"

#include <QTest>

using platform::MenuKeyBinding;

// Key bindings as GTK and Qt publish them become the key equivalent the menus
// read: an upper-case character or a virtual key code, and the menu-glyph
// modifier bits (1 Shift, 2 Option, 4 Control, 8 no Command).
class KeyBindingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesBothDialects_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("virtualKey"); // -1: none
        QTest::addColumn<int>("modifiers");

        // GTK: mnemonic;path;accelerator
        QTest::newRow("gtk primary shift") << "w;<Alt>f:w;<Primary><Shift>n"
                                           << "N" << -1 << 13;
        QTest::newRow("gtk control") << ";;<Control>q"
                                     << "Q" << -1 << 12;
        QTest::newRow("gtk alt") << "b;;<Alt>Left"
                                 << "" << 123 << 10;
        QTest::newRow("gtk super") << ";;<Super>s"
                                   << "S" << -1 << 0;
        QTest::newRow("gtk every modifier") << ";;<Control><Alt><Shift><Super>x"
                                            << "X" << -1 << 7;
        QTest::newRow("gtk named key alone") << ";;F1"
                                             << "" << 122 << 8;
        QTest::newRow("gtk forward delete") << ";;Delete"
                                            << "" << 117 << 8;
        QTest::newRow("gtk backspace") << ";;<Control>BackSpace"
                                       << "" << 51 << 12;
        QTest::newRow("gtk page up") << ";;Page_Up"
                                     << "" << 116 << 8;
        QTest::newRow("gtk keypad digit") << ";;KP_3"
                                          << "" << 85 << 8;
        QTest::newRow("gtk punctuation by name") << ";;<Primary>plus"
                                                 << "+" << -1 << 12;
        QTest::newRow("gtk comma") << ";;<Primary>comma"
                                   << "," << -1 << 12;
        QTest::newRow("gtk digit") << ";;<Primary><Alt>1"
                                   << "1" << -1 << 14;

        // Qt text form
        QTest::newRow("qt ctrl shift") << "Ctrl+Shift+S"
                                       << "S" << -1 << 13;
        QTest::newRow("qt lower-case letter") << "Ctrl+q"
                                              << "Q" << -1 << 12;
        QTest::newRow("qt meta") << "Meta+S"
                                 << "S" << -1 << 0;
        QTest::newRow("qt function key") << "F11"
                                         << "" << 103 << 8;
        QTest::newRow("qt f19") << "F19"
                                << "" << 80 << 8;
        QTest::newRow("qt arrow") << "Alt+Right"
                                  << "" << 124 << 10;
        QTest::newRow("qt plus key") << "Ctrl++"
                                     << "+" << -1 << 12;
        QTest::newRow("qt comma") << "Ctrl+,"
                                  << "," << -1 << 12;
        QTest::newRow("qt del") << "Del"
                                << "" << 117 << 8;
        QTest::newRow("qt return") << "Ctrl+Return"
                                   << "" << 36 << 12;
        QTest::newRow("qt enter is keypad") << "Enter"
                                            << "" << 76 << 8;
        QTest::newRow("qt escape") << "Shift+Esc"
                                   << "" << 53 << 9;
        QTest::newRow("qt tab") << "Ctrl+Tab"
                                << "" << 48 << 12;
        QTest::newRow("qt pgdown") << "PgDown"
                                   << "" << 121 << 8;
        QTest::newRow("qt home end") << "End"
                                     << "" << 119 << 8;
        QTest::newRow("qt space") << "Ctrl+Space"
                                  << "" << 49 << 12;
        QTest::newRow("qt keypad digit") << "Num+5"
                                         << "" << 87 << 8;
        QTest::newRow("qt first of several") << "Ctrl+W, Ctrl+F4"
                                             << "W" << -1 << 12;
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
