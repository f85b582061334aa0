#include "platform/accessibility/MenuKeyBinding.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::MenuKeyBinding;
using Dialect = MenuKeyBinding::Dialect;

Q_DECLARE_METATYPE(MenuKeyBinding::Dialect)

// Key bindings as GTK and Qt publish them become the key equivalent the menus
// read: an upper-case character or a virtual key code, and the menu-glyph
// modifier bits (1 Shift, 2 Option, 4 Control, 8 no Command). Qt publishes an
// item's mnemonic where it has no shortcut; that is never a key equivalent.
class KeyBindingsTest : public QObject
{
    Q_OBJECT

    static void row(const char* name, Dialect dialect, const char* title, const char* text,
                    const char* character, int virtualKey, int modifiers)
    {
        QTest::newRow(name) << dialect << QString::fromUtf8(title) << QString::fromUtf8(text)
                            << QString::fromUtf8(character) << virtualKey << modifiers;
    }
    static void gtk(const char* name, const char* text, const char* character, int virtualKey,
                    int modifiers)
    {
        row(name, Dialect::Gtk, "", text, character, virtualKey, modifiers);
    }
    static void qt(const char* name, const char* title, const char* text, const char* character,
                   int virtualKey, int modifiers)
    {
        row(name, Dialect::Qt, title, text, character, virtualKey, modifiers);
    }
    static void none(const QByteArray& name, Dialect dialect, const char* title, const char* text)
    {
        QTest::newRow(name.constData())
            << dialect << QString::fromUtf8(title) << QString::fromUtf8(text);
    }

private Q_SLOTS:
    void parsesBothDialects_data()
    {
        QTest::addColumn<Dialect>("dialect");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("virtualKey"); // -1: none
        QTest::addColumn<int>("modifiers");

        // GTK: mnemonic;path;accelerator
        gtk("gtk primary shift", "w;<Alt>f:w;<Primary><Shift>n", "N", -1, 13);
        gtk("gtk control", ";;<Control>q", "Q", -1, 12);
        gtk("gtk alt", "b;;<Alt>Left", "", 123, 10);
        gtk("gtk super", ";;<Super>s", "S", -1, 0);
        gtk("gtk every modifier", ";;<Control><Alt><Shift><Super>x", "X", -1, 7);
        gtk("gtk named key alone", ";;F1", "", 122, 8);
        gtk("gtk forward delete", ";;Delete", "", 117, 8);
        gtk("gtk backspace", ";;<Control>BackSpace", "", 51, 12);
        gtk("gtk punctuation by name", ";;<Primary>plus", "+", -1, 12);
        gtk("gtk semicolon by name", ";;<Primary>semicolon", ";", -1, 12);
        gtk("gtk digit", ";;<Primary><Alt>1", "1", -1, 14);
        gtk("gtk keypad digit", ";;KP_3", "", 85, 8);
        gtk("gtk keypad add", ";;<Primary>KP_Add", "", 69, 12);
        gtk("gtk keypad subtract", ";;<Primary>KP_Subtract", "", 78, 12);
        gtk("gtk keypad multiply", ";;KP_Multiply", "", 67, 8);
        gtk("gtk keypad divide", ";;KP_Divide", "", 75, 8);
        gtk("gtk keypad decimal", ";;KP_Decimal", "", 65, 8);
        gtk("gtk keypad equal", ";;KP_Equal", "", 81, 8);
        gtk("gtk keypad enter", ";;<Shift>KP_Enter", "", 76, 9);
        gtk("gtk keypad home without num lock", ";;KP_Home", "", 115, 8);
        // GTK keeps the mnemonic in its own field: an Alt accelerator whose
        // letter is in the title is a real shortcut.
        gtk("gtk alt letter of the title", "s;;<Alt>s", "S", -1, 10);

        // Qt key-sequence text
        qt("qt ctrl shift", "Save As", "Ctrl+Shift+S", "S", -1, 13);
        qt("qt lower-case letter", "Quit", "Ctrl+q", "Q", -1, 12);
        qt("qt meta", "Super Save", "Meta+S", "S", -1, 0);
        qt("qt function key", "Full Screen", "F11", "", 103, 8);
        qt("qt f19", "", "F19", "", 80, 8);
        qt("qt plus key", "Zoom In", "Ctrl++", "+", -1, 12);
        qt("qt comma", "Preferences", "Ctrl+,", ",", -1, 12);
        qt("qt semicolon", "Comment", "Ctrl+;", ";", -1, 12);
        qt("qt semicolon alone", "", ";", ";", -1, 8);
        qt("qt del", "Delete", "Del", "", 117, 8);
        qt("qt return", "Confirm", "Ctrl+Return", "", 36, 12);
        qt("qt enter is keypad", "", "Enter", "", 76, 8);
        qt("qt pgdown", "", "PgDown", "", 121, 8);
        qt("qt keypad digit", "", "Num+5", "", 87, 8);
        qt("qt keypad plus", "Zoom In", "Ctrl+Num++", "", 69, 12);
        qt("qt keypad minus", "Zoom Out", "Ctrl+Num+-", "", 78, 12);
        qt("qt first key of a multi-key sequence", "", "Ctrl+W, Ctrl+F4", "W", -1, 12);

        // Real Alt shortcuts next to mnemonics: Qt writes a shortcut's letter
        // in upper case, a mnemonic exactly as in the title.
        qt("qt alt arrow", "Forward", "Alt+Right", "", 124, 10);
        qt("qt alt function key", "Close", "Alt+F4", "", 118, 10);
        qt("qt alt letter not in the title", "Save", "Alt+X", "X", -1, 10);
        qt("qt alt digit not in the title", "Tab", "Alt+1", "1", -1, 10);
        qt("qt alt shift letter of the title", "Save", "Alt+Shift+S", "S", -1, 11);
        qt("qt alt non-latin letter not in the title", "Файл", "Alt+Ж", "Ж", -1, 10);
        qt("qt mnemonic joined before the shortcut", "Save as", "Alt+a;Ctrl+Shift+S", "S", -1, 13);
        qt("qt mnemonic joined after the shortcut", "Save as", "Ctrl+Shift+S;Alt+a", "S", -1, 13);
        qt("qt mnemonic joined with the semicolon key", "Comment", "Alt+C;Ctrl+;", ";", -1, 12);
        qt("qt semicolon key joined with a mnemonic", "Comment", "Ctrl+;;Alt+m", ";", -1, 12);
        qt("qt plus key joined with a mnemonic", "Zoom In", "Ctrl++;Alt+Z", "+", -1, 12);
    }

    void parsesBothDialects()
    {
        QFETCH(Dialect, dialect);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, character);
        QFETCH(int, virtualKey);
        QFETCH(int, modifiers);

        const std::optional<MenuKeyBinding> binding =
            MenuKeyBinding::fromKeyBindingText(text, dialect, title);
        QVERIFY(binding);
        QCOMPARE(binding->character(), character);
        QCOMPARE(binding->virtualKey().value_or(-1), virtualKey);
        QCOMPARE(binding->modifiers(), modifiers);
    }

    void textsWithoutAcceleratorGiveNothing_data()
    {
        QTest::addColumn<Dialect>("dialect");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        for (const Dialect dialect : {Dialect::Gtk, Dialect::Qt}) {
            const QByteArray name = dialect == Dialect::Gtk ? "gtk " : "qt ";
            none(name + "empty", dialect, "", "");
            none(name + "blank", dialect, "", "   ");
        }
        none("gtk mnemonic only", Dialect::Gtk, "File", "f;;");
        none("gtk mnemonic and path", Dialect::Gtk, "New", "w;<Alt>f:w;");
        none("gtk too few fields", Dialect::Gtk, "", "f;x");
        none("gtk unclosed modifier", Dialect::Gtk, "", ";;<Control");
        none("gtk unknown key name", Dialect::Gtk, "", ";;<Control>XF86Launch1");
        none("gtk text in the qt dialect", Dialect::Gtk, "", "Ctrl+S");
        none("qt unknown modifier", Dialect::Qt, "", "Hyperdrive+S");
        none("qt modifier without key", Dialect::Qt, "", "Ctrl+");

        // Mnemonics
        none("qt lower-case mnemonic", Dialect::Qt, "Save as...", "Alt+a");
        none("qt upper-case mnemonic", Dialect::Qt, "File", "Alt+F");
        none("qt lower-case letter not in the title", Dialect::Qt, "Save", "Alt+x");
        none("qt lower-case mnemonic without a title", Dialect::Qt, "", "Alt+d");
        none("qt digit mnemonic", Dialect::Qt, "Zoom 1:1", "Alt+1");
        none("qt punctuation mnemonic", Dialect::Qt, "Open...", "Alt+.");
        none("qt cyrillic upper-case mnemonic", Dialect::Qt, "Файл", "Alt+Ф");
        none("qt cyrillic lower-case mnemonic", Dialect::Qt, "Сохранить как", "Alt+к");
        none("qt japanese title with a latin mnemonic", Dialect::Qt, "ファイル(F)", "Alt+F");
        none("qt only mnemonics joined", Dialect::Qt, "Save as", "Alt+S;Alt+a");
    }

    void textsWithoutAcceleratorGiveNothing()
    {
        QFETCH(Dialect, dialect);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QVERIFY(!MenuKeyBinding::fromKeyBindingText(text, dialect, title));
    }

    // An application decides how long its binding texts are: one of the
    // longest length still parses, one character more names no key, and a
    // text of a megabyte of modifiers is turned away as well.
    void lengthIsCapped_data()
    {
        QTest::addColumn<Dialect>("dialect");
        QTest::addColumn<QString>("head"); // repeated until the text is long enough
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("gtk") << Dialect::Gtk << QStringLiteral("<Control>") << QStringLiteral("q")
                             << QStringLiteral("Q") << 12;
        QTest::newRow("qt") << Dialect::Qt << QStringLiteral("Shift+") << QStringLiteral("F1")
                            << QString() << 9;
    }

    void lengthIsCapped()
    {
        QFETCH(Dialect, dialect);
        QFETCH(QString, head);
        QFETCH(QString, tail);
        QFETCH(QString, character);
        QFETCH(int, modifiers);
        const QString prefix = dialect == Dialect::Gtk ? QStringLiteral(";;") : QString();
        // Padded with spaces after the separators to exactly the longest length.
        QString modifierText = head.repeated(
            int((MenuKeyBinding::MaximumTextLength - prefix.size() - tail.size()) / head.size()));
        const QString padding(MenuKeyBinding::MaximumTextLength - prefix.size() -
                                  modifierText.size() - tail.size(),
                              u' ');
        const QString longest = prefix + padding + modifierText + tail;
        QCOMPARE(longest.size(), MenuKeyBinding::MaximumTextLength);
        const std::optional<MenuKeyBinding> binding =
            MenuKeyBinding::fromKeyBindingText(longest, dialect);
        QVERIFY(binding);
        QCOMPARE(binding->character(), character);
        QCOMPARE(binding->modifiers(), modifiers);

        QVERIFY(!MenuKeyBinding::fromKeyBindingText(QStringLiteral(" ") + longest, dialect));
        const QString huge = prefix + head.repeated(int(1024 * 1024 / head.size())) + tail;
        QVERIFY(!MenuKeyBinding::fromKeyBindingText(huge, dialect));
    }
};

TROVIX_TEST_GUILESS_MAIN(KeyBindingsTest)
#include "key_bindings_test.moc"
