#include "platform/input/VirtualKeyCodes.h"
#include "support/TestProgram.h"

#include <QtTest>
#include <linux/input-event-codes.h>

using namespace platform;

class VirtualKeyCodesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyPositions_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("evdevCode");

        QTest::newRow("A") << 0 << KEY_A;
        QTest::newRow("Z") << 6 << KEY_Z;
        QTest::newRow("Y") << 16 << KEY_Y;
        QTest::newRow("6 before 5") << 22 << KEY_6;
        QTest::newRow("Delete is Backspace") << 51 << KEY_BACKSPACE;
        QTest::newRow("Command is the left Super key") << 55 << KEY_LEFTMETA;
        QTest::newRow("keypad 8 after F20") << 91 << KEY_KP8;
        QTest::newRow("Help is Insert") << 114 << KEY_INSERT;
    }

    void keyPositions()
    {
        QFETCH(int, keyCode);
        QFETCH(int, evdevCode);
        QCOMPARE(evdevCodeForVirtualKeyCode(quint16(keyCode)), std::optional<quint16>(evdevCode));
        QCOMPARE(virtualKeyCodeForEvdevCode(quint16(evdevCode)), std::optional<quint16>(keyCode));
        QCOMPARE(xKeycodeForVirtualKeyCode(quint16(keyCode)), std::optional<quint8>(evdevCode + 8));
        QCOMPARE(virtualKeyCodeForXKeycode(quint8(evdevCode + 8)), std::optional<quint16>(keyCode));
    }

    // Every mapped key code maps back to itself: no two positions share a key.
    void tableIsOneToOne()
    {
        int mapped = 0;
        for (int keyCode = 0; keyCode <= 0xFF; ++keyCode) {
            const std::optional<quint16> evdevCode = evdevCodeForVirtualKeyCode(quint16(keyCode));
            if (!evdevCode) {
                continue;
            }
            ++mapped;
            QCOMPARE(virtualKeyCodeForEvdevCode(*evdevCode), std::optional<quint16>(keyCode));
        }
        // Letters, digits, punctuation, F1-F20, keypad, arrows, navigation, modifiers.
        QVERIFY2(mapped >= 110, qPrintable(QString::number(mapped)));
    }

    void codesWithoutAKey()
    {
        QCOMPARE(evdevCodeForVirtualKeyCode(0x34), std::nullopt); // a gap in the numbering
        QCOMPARE(evdevCodeForVirtualKeyCode(0x80), std::nullopt);
        QCOMPARE(evdevCodeForVirtualKeyCode(0xFFFF), std::nullopt);
        QCOMPARE(virtualKeyCodeForXKeycode(0), std::nullopt);
        QCOMPARE(virtualKeyCodeForXKeycode(7), std::nullopt);
        QCOMPARE(virtualKeyCodeForEvdevCode(KEY_SYSRQ), std::nullopt);
        // Fn has an evdev code but no X key code: X key codes end at 255.
        QCOMPARE(evdevCodeForVirtualKeyCode(VirtualKey::Function), std::optional<quint16>(KEY_FN));
        QCOMPARE(xKeycodeForVirtualKeyCode(VirtualKey::Function), std::nullopt);
        // Help shares Insert's position, but the Help key reads as Help too.
        QCOMPARE(virtualKeyCodeForEvdevCode(KEY_HELP), std::optional<quint16>(VirtualKey::Help));
    }
};

TROVIX_TEST_GUILESS_MAIN(VirtualKeyCodesTest)
#include "virtual_key_codes_test.moc"
