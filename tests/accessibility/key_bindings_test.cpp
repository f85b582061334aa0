#include "platform/accessibility/MenuKeyBinding.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::MenuKeyBinding;
using Form = MenuKeyBinding::Form;

Q_DECLARE_METATYPE(MenuKeyBinding::Form)

// Key bindings as GTK (2 and 3), Gecko and Qt publish them become the key
// equivalent the menus read: an upper-case character or a virtual key code,
// and the menu-glyph modifier bits (1 Shift, 2 Option, 4 Control, 8 no
// Command). The form is read from the text alone, whatever the toolkit calls
// itself. Every form carries mnemonics too; they are never key equivalents.
class KeyBindingsTest : public QObject
{
    Q_OBJECT

    static void row(const char* name, const char* title, const char* text, const char* character,
                    int virtualKey, int modifiers)
    {
        QTest::newRow(name) << QString::fromUtf8(title) << QString::fromUtf8(text)
                            << QString::fromUtf8(character) << virtualKey << modifiers;
    }
    static void gtk(const char* name, const char* text, const char* character, int virtualKey,
                    int modifiers)
    {
        row(name, "", text, character, virtualKey, modifiers);
    }
    static void qt(const char* name, const char* title, const char* text, const char* character,
                   int virtualKey, int modifiers)
    {
        row(name, title, text, character, virtualKey, modifiers);
    }
    static void none(const char* name, const char* title, const char* text)
    {
        QTest::newRow(name) << QString::fromUtf8(title) << QString::fromUtf8(text);
    }

private Q_SLOTS:
    void parsesEveryForm_data()
    {
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
        // X names Tab typed with Shift "ISO_Left_Tab": the Shift stays.
        gtk("gtk shift tab", ";;<Primary>ISO_Left_Tab", "", 48, 13);
        // GTK keeps the mnemonic in its own field: an Alt accelerator whose
        // letter is in the title is a real shortcut.
        gtk("gtk alt letter of the title", "s;;<Alt>s", "S", -1, 10);
        // GTK 2 through its accessibility bridge, which calls itself "GAIL".
        gtk("gtk 2 item with mnemonic and accelerator", "n;<Alt>f:n;<Primary>n", "N", -1, 12);
        gtk("gtk 2 accelerator only", ";;<Primary>1", "1", -1, 12);
        gtk("gtk 2 key without modifiers", ";;1", "1", -1, 8);
        gtk("gtk 2 named key without modifiers", "f;<Alt>v:f;F11", "", 103, 8);
        gtk("gtk 2 deep path", "a;<Alt>e:p:a;<Primary><Shift>v", "V", -1, 13);
        gtk("gtk 2 non-latin mnemonic", "Cyrillic_ef;<Alt>Cyrillic_ef:Cyrillic_ef;<Control>o", "O",
            -1, 12);
        gtk("gtk 2 umlaut mnemonic", "odiaeresis;<Alt>d:odiaeresis;<Control>w", "W", -1, 12);
        gtk("gtk 2 accelerator with a semicolon key", "c;<Alt>e:c;<Primary>semicolon", ";", -1, 12);

        // Gecko: the same three fields in a menu path, else the mnemonic and
        // the accelerator.
        gtk("gecko menu path", "T;<Alt>F:T;<Control>T", "T", -1, 12);
        gtk("gecko menu path with shift", "W;<Alt>F:W;<Control><Shift>P", "P", -1, 13);
        gtk("gecko mnemonic and accelerator", "<Alt>t;<Control>t", "T", -1, 12);
        gtk("gecko lower-case mnemonic and accelerator", "t;<Control><Shift>t", "T", -1, 13);

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
        // Qt texts with the separators of the other forms stay Qt's.
        qt("qt two keys without modifiers", "", "F1;F2", "", 122, 8);
        qt("qt three keys without modifiers", "", "N;M;O", "N", -1, 8);
        qt("qt semicolon keys joined", "", "Ctrl+;;Ctrl+:", ";", -1, 12);
        qt("qt less-than key", "", "Ctrl+<", "<", -1, 12);
    }

    void parsesEveryForm()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QString, character);
        QFETCH(int, virtualKey);
        QFETCH(int, modifiers);

        const std::optional<MenuKeyBinding> binding =
            MenuKeyBinding::fromKeyBindingText(text, title);
        QVERIFY(binding);
        QCOMPARE(binding->character(), character);
        QCOMPARE(binding->virtualKey().value_or(-1), virtualKey);
        QCOMPARE(binding->modifiers(), modifiers);
    }

    void textsWithoutAcceleratorGiveNothing_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        none("empty", "", "");
        none("blank", "", "   ");
        none("gtk mnemonic only", "File", "f;;");
        none("gtk mnemonic and path", "New", "w;<Alt>f:w;");
        none("gtk unclosed modifier", "", ";;<Control");
        none("gtk modifiers without key", "", ";;<Control><Shift>");
        none("gtk unknown key name", "", ";;<Control>XF86Launch1");
        none("qt unknown modifier", "", "Hyperdrive+S");
        none("qt modifier without key", "", "Ctrl+");

        // Mnemonics, in every form
        none("gtk 2 submenu item", "Screenshot...", "s;<Alt>f:t:s;");
        none("gtk 2 menu of the menu bar", "File", "<Alt>f;<Alt>f;");
        none("gtk 2 submenu", "Create", "t;<Alt>f:t;");
        none("gtk 2 recent file without mnemonic", "1. picture.xcf", ";;");
        none("gtk 2 path without mnemonic", "Open Recent", ";<Alt>f:r;");
        none("gecko menu of the menu bar", "File", "<Alt>F;");
        none("gecko submenu", "New Container Tab", "b;<Alt>F:b;");
        none("gecko mnemonic with blank accelerator", "Edit", "<Alt>E; ");
        none("gecko lower-case mnemonic alone", "New Tab", "t;");
        none("qt lower-case mnemonic", "Save as...", "Alt+a");
        none("qt upper-case mnemonic", "File", "Alt+F");
        none("qt lower-case letter not in the title", "Save", "Alt+x");
        none("qt lower-case mnemonic without a title", "", "Alt+d");
        none("qt digit mnemonic", "Zoom 1:1", "Alt+1");
        none("qt punctuation mnemonic", "Open...", "Alt+.");
        none("qt cyrillic upper-case mnemonic", "Файл", "Alt+Ф");
        none("qt cyrillic lower-case mnemonic", "Сохранить как", "Alt+к");
        none("qt japanese title with a latin mnemonic", "ファイル(F)", "Alt+F");
        none("qt only mnemonics joined", "Save as", "Alt+S;Alt+a");
    }

    void textsWithoutAcceleratorGiveNothing()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QVERIFY(!MenuKeyBinding::fromKeyBindingText(text, title));
    }

    // The form is told by the shape of the fields before the accelerator,
    // never by the accelerator: texts that only look alike go to Qt.
    void formIsReadFromTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Form>("form");
        const auto form = [](const char* text, Form expected) {
            QTest::newRow(text) << QString::fromUtf8(text) << expected;
        };
        form("n;<Alt>f:n;<Primary>n", Form::MnemonicPathAccelerator);
        form(";;<Primary>1", Form::MnemonicPathAccelerator);
        form(";;", Form::MnemonicPathAccelerator);
        form("<Alt>n;<Alt>F:<Alt>n;", Form::MnemonicPathAccelerator);
        form("x;<Alt>f;<Primary>x;y", Form::MnemonicPathAccelerator);
        form("<Alt>F;", Form::MnemonicAccelerator);
        form("n;<Control>n", Form::MnemonicAccelerator);
        form("Ctrl+S", Form::KeySequence);
        form(";", Form::KeySequence);
        form("Ctrl+;", Form::KeySequence);
        form("Ctrl+;;Alt+m", Form::KeySequence);
        form("Alt+a;Ctrl+Shift+S", Form::KeySequence);
        form("F1;F2", Form::KeySequence);
        form("N;M;O", Form::KeySequence);
        form("n;<Alt f:n;<Primary>n", Form::KeySequence);
        form("n;<>f:n;<Primary>n", Form::KeySequence);
        form("n;<Alt>f::n;<Primary>n", Form::KeySequence);
        form("two words;;<Primary>n", Form::KeySequence);
        form("<Alt>;", Form::KeySequence);
    }

    void formIsReadFromTheText()
    {
        QFETCH(QString, text);
        QFETCH(Form, form);
        QCOMPARE(MenuKeyBinding::formOf(text), form);
    }

    // An application decides how long its binding texts are: one of the
    // longest length still parses, one character more names no key, and a
    // text of a megabyte of modifiers is turned away as well.
    void lengthIsCapped_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("head"); // repeated until the text is long enough
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("gtk") << QStringLiteral(";;") << QStringLiteral("<Control>")
                             << QStringLiteral("q") << QStringLiteral("Q") << 12;
        QTest::newRow("qt") << QString() << QStringLiteral("Shift+") << QStringLiteral("F1")
                            << QString() << 9;
    }

    void lengthIsCapped()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, head);
        QFETCH(QString, tail);
        QFETCH(QString, character);
        QFETCH(int, modifiers);
        // Padded with spaces after the separators to exactly the longest length.
        QString modifierText = head.repeated(
            int((MenuKeyBinding::MaximumTextLength - prefix.size() - tail.size()) / head.size()));
        const QString padding(MenuKeyBinding::MaximumTextLength - prefix.size() -
                                  modifierText.size() - tail.size(),
                              u' ');
        const QString longest = prefix + padding + modifierText + tail;
        QCOMPARE(longest.size(), MenuKeyBinding::MaximumTextLength);
        const std::optional<MenuKeyBinding> binding = MenuKeyBinding::fromKeyBindingText(longest);
        QVERIFY(binding);
        QCOMPARE(binding->character(), character);
        QCOMPARE(binding->modifiers(), modifiers);

        QVERIFY(!MenuKeyBinding::fromKeyBindingText(QStringLiteral(" ") + longest));
        const QString huge = prefix + head.repeated(int(1024 * 1024 / head.size())) + tail;
        QVERIFY(!MenuKeyBinding::fromKeyBindingText(huge));
    }
};

TROVIX_TEST_GUILESS_MAIN(KeyBindingsTest)
#include "key_bindings_test.moc"
