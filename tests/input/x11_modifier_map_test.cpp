#include "platform/input/x11/X11ModifierMap.h"
#include "support/TestProgram.h"

#include <QtTest>
#include <xkbcommon/xkbcommon-keysyms.h>

using namespace platform;

namespace {

constexpr quint16 Mod1 = 0x08;
constexpr quint16 Mod2 = 0x10;
constexpr quint16 Mod3 = 0x20;
constexpr quint16 Mod4 = 0x40;
constexpr quint16 Mod5 = 0x80;

// A server's keyboard as the modifier mapping and keyboard mapping requests
// describe it.
struct ServerKeyboard
{
    std::array<QList<quint8>, X11ModifierMap::ModifierCount> modifiers;
    QHash<quint8, QList<quint32>> keysyms;

    // What a stock X server with a pc105 keymap reports.
    static ServerKeyboard standard()
    {
        ServerKeyboard keyboard;
        keyboard.modifiers = {{
            {50, 62},             // Shift
            {66, 0},              // Lock
            {37, 105},            // Control
            {64, 108, 205},       // Mod1
            {77, 0},              // Mod2
            {},                   // Mod3
            {133, 134, 206, 207}, // Mod4
            {92, 203},            // Mod5
        }};
        keyboard.keysyms = {
            {50, {XKB_KEY_Shift_L}},
            {62, {XKB_KEY_Shift_R}},
            {66, {XKB_KEY_Caps_Lock}},
            {37, {XKB_KEY_Control_L}},
            {105, {XKB_KEY_Control_R}},
            {64, {XKB_KEY_Alt_L, XKB_KEY_Meta_L}},
            {108, {XKB_KEY_Alt_R, XKB_KEY_Meta_R}},
            {205, {XKB_KEY_Meta_L}},
            {77, {XKB_KEY_Num_Lock}},
            {78, {XKB_KEY_Scroll_Lock}},
            {133, {XKB_KEY_Super_L}},
            {134, {XKB_KEY_Super_R}},
            {206, {XKB_KEY_Super_L}},
            {207, {XKB_KEY_Hyper_L}},
            {92, {XKB_KEY_ISO_Level3_Shift}},
            {203, {XKB_KEY_Mode_switch}},
            {38, {XKB_KEY_a, XKB_KEY_A}},
        };
        return keyboard;
    }

    X11ModifierMap map() const
    {
        return X11ModifierMap::fromServerMapping(
            modifiers, [this](quint8 keycode) { return keysyms.value(keycode); });
    }
};

} // namespace

class X11ModifierMapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void standardServer()
    {
        const X11ModifierMap map = ServerKeyboard::standard().map();
        QCOMPARE(map.optionMask(), std::optional<quint16>(Mod1));
        QCOMPARE(map.commandMask(), std::optional<quint16>(Mod4));
        QCOMPARE(map.numLockMask(), Mod2);
        // Scroll Lock has a key but no modifier; Fn has neither.
        QCOMPARE(map.scrollLockMask(), quint16(0));
        QCOMPARE(map.functionMask(), std::nullopt);
        QCOMPARE(map.lockModifierCombinations(),
                 (QList<quint16>{0, X11ModifierMap::LockMask, Mod2,
                                 quint16(X11ModifierMap::LockMask | Mod2)}));
    }

    void flagsForState_data()
    {
        QTest::addColumn<quint16>("state");
        QTest::addColumn<quint64>("flags");

        QTest::newRow("shift and control")
            << quint16(0x05) << quint64(ModifierFlag::Shift | ModifierFlag::Control);
        QTest::newRow("alt") << Mod1 << quint64(ModifierFlag::Option);
        QTest::newRow("super") << Mod4 << quint64(ModifierFlag::Command);
        QTest::newRow("caps lock") << quint16(0x02) << quint64(ModifierFlag::CapsLock);
        QTest::newRow("num lock leaves no trace") << Mod2 << quint64(0);
        QTest::newRow("level 3 shift leaves no trace") << Mod5 << quint64(0);
        QTest::newRow("super with num lock and button 3")
            << quint16(Mod4 | Mod2 | 0x0400) << quint64(ModifierFlag::Command);
    }

    void flagsForState()
    {
        QFETCH(quint16, state);
        QFETCH(quint64, flags);
        QCOMPARE(ServerKeyboard::standard().map().modifierFlagsForState(state), flags);
    }

    void grabModifiers_data()
    {
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<std::optional<quint16>>("modifiers");

        QTest::newRow("command shift") << quint64(ModifierFlag::Command | ModifierFlag::Shift)
                                       << std::optional<quint16>(Mod4 | 0x01);
        QTest::newRow("control option") << quint64(ModifierFlag::Control | ModifierFlag::Option)
                                        << std::optional<quint16>(0x04 | Mod1);
        QTest::newRow("locks, key flags and sides are not held modifiers")
            << quint64(ModifierFlag::CapsLock | ModifierFlag::NumericPad | ModifierFlag::Help |
                       ModifierFlag::SideMask)
            << std::optional<quint16>(0);
        QTest::newRow("function is unavailable")
            << quint64(ModifierFlag::Function | ModifierFlag::Command) << std::optional<quint16>();
    }

    void grabModifiers()
    {
        QFETCH(quint64, flags);
        QFETCH(std::optional<quint16>, modifiers);
        QCOMPARE(ServerKeyboard::standard().map().grabModifiersForFlags(flags), modifiers);
    }

    void grabRoundTripsTheStandardModifiers()
    {
        const X11ModifierMap map = ServerKeyboard::standard().map();
        for (ModifierFlags flags = 0; flags <= ModifierFlag::StandardModifiersMask;
             flags += ModifierFlag::Shift) {
            const std::optional<quint16> modifiers = map.grabModifiersForFlags(flags);
            QVERIFY(modifiers);
            QCOMPARE(map.modifierFlagsForState(*modifiers), flags);
        }
    }

    void scrollLockAndFnWhereMapped()
    {
        ServerKeyboard keyboard = ServerKeyboard::standard();
        keyboard.modifiers[5] = {78, 240}; // Mod3: Scroll Lock and an Fn key
        keyboard.keysyms.insert(240, {XKB_KEY_XF86Fn});
        const X11ModifierMap map = keyboard.map();
        QCOMPARE(map.scrollLockMask(), Mod3);
        QCOMPARE(map.functionMask(), std::optional<quint16>(Mod3));
        QCOMPARE(map.lockModifierCombinations().size(), 8);
        QCOMPARE(map.lockModifiersMask(), quint16(X11ModifierMap::LockMask | Mod2 | Mod3));
        QCOMPARE(map.grabModifiersForFlags(ModifierFlag::Function), std::optional<quint16>(Mod3));
    }

    void unusualServers()
    {
        ServerKeyboard keyboard = ServerKeyboard::standard();
        // Alt missing, Meta still there; Super moved to Mod3; Num Lock shares Mod3 with it.
        keyboard.modifiers[3] = {205};
        keyboard.modifiers[4] = {};
        keyboard.modifiers[5] = {133, 77};
        keyboard.modifiers[6] = {};
        const X11ModifierMap map = keyboard.map();
        QCOMPARE(map.optionMask(), std::optional<quint16>(Mod1));
        QCOMPARE(map.commandMask(), std::optional<quint16>(Mod3));
        QCOMPARE(map.numLockMask(), Mod3);

        // A server without Super at all cannot grab Command.
        keyboard.modifiers[5] = {77};
        QCOMPARE(keyboard.map().commandMask(), std::nullopt);
        QCOMPARE(keyboard.map().grabModifiersForFlags(ModifierFlag::Command), std::nullopt);
        QCOMPARE(keyboard.map().modifierFlagsForState(Mod4), quint64(0));
    }
};

TROVIX_TEST_GUILESS_MAIN(X11ModifierMapTest)
#include "x11_modifier_map_test.moc"
