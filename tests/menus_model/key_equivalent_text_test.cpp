// The text of the shortcut column.
#include "platform/menus/KeyEquivalentText.h"
#include "support/TestProgram.h"

#include <QTest>

using platform::ModifierFlags;
namespace ModifierFlag = platform::ModifierFlag;

class KeyEquivalentTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<ModifierFlags>("mask");
        QTest::addColumn<QString>("text");
        const ModifierFlags all = ModifierFlag::Command | ModifierFlag::Shift |
                                  ModifierFlag::Option | ModifierFlag::Control;
        QTest::newRow("command letter") << "q" << ModifierFlag::Command << "⌘Q";
        QTest::newRow("upper case implies shift") << "S" << ModifierFlag::Command << "⇧⌘S";
        QTest::newRow("glyph order") << "s" << all << "⌃⌥⇧⌘S";
        QTest::newRow("no modifiers") << "x" << ModifierFlags(0) << "X";
        QTest::newRow("circled letter") << "Ⓐ" << ModifierFlag::Command << "⌘Ⓐ";
        QTest::newRow("function key") << QString(QChar(0xF704)) << ModifierFlags(0) << "F1";
        QTest::newRow("F12") << QString(QChar(0xF70F)) << ModifierFlag::Option << "⌥F12";
        QTest::newRow("arrow") << QString(QChar(0xF702)) << ModifierFlag::Command << "⌘←";
        QTest::newRow("return") << "\r" << ModifierFlag::Command << "⌘↩";
        QTest::newRow("escape") << "\x1b" << ModifierFlags(0) << "⎋";
        QTest::newRow("delete") << QString(QChar(0x7F)) << ModifierFlag::Command << "⌘⌫";
        QTest::newRow("no key, mask alone") << "" << ModifierFlag::Option << "";
    }
    void displayText()
    {
        QFETCH(QString, key);
        QFETCH(ModifierFlags, mask);
        QFETCH(QString, text);
        QCOMPARE(platform::KeyEquivalentText::displayText(key, mask), text);
    }
};

TROVIX_TEST_GUILESS_MAIN(KeyEquivalentTextTest)
#include "key_equivalent_text_test.moc"
