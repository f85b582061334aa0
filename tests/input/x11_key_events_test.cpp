#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/X11KeyEvents.h"
#include "support/Prerequisite.h"
#include "support/TestProgram.h"

#include <QtTest>
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

using namespace platform;

namespace {

constexpr quint16 Shift = 0x01;
constexpr quint16 Lock = 0x02;
constexpr quint16 Control = 0x04;
constexpr quint16 Mod2 = 0x10;
constexpr quint16 Mod4 = 0x40;
constexpr quint16 SecondGroup = 0x2000;

constexpr quint8 ShiftL = 50;
constexpr quint8 SuperR = 134;
constexpr quint8 AltL = 64;

// Alt in Mod1, Num Lock in Mod2, Super in Mod4, as a stock server has them.
X11ModifierMap stockModifierMap()
{
    const QHash<quint8, QList<quint32>> keysyms = {
        {ShiftL, {XKB_KEY_Shift_L}}, {AltL, {XKB_KEY_Alt_L}},     {77, {XKB_KEY_Num_Lock}},
        {133, {XKB_KEY_Super_L}},    {SuperR, {XKB_KEY_Super_R}},
    };
    return X11ModifierMap::fromServerMapping(
        {{{ShiftL}, {66}, {37}, {AltL}, {77}, {}, {133, SuperR}, {}}},
        [&](quint8 keycode) { return keysyms.value(keycode); });
}

xcb_key_press_event_t keyEvent(quint8 responseType, quint16 keyCode, quint16 state)
{
    xcb_key_press_event_t event = {};
    event.response_type = responseType;
    event.detail = *xKeycodeForVirtualKeyCode(keyCode);
    event.state = state;
    event.time = 123456;
    event.event = 0x400007;
    event.event_x = 10;
    event.event_y = 20;
    event.root_x = 110;
    event.root_y = 220;
    return event;
}

std::array<quint8, 32> keysDown(const QList<int>& keycodes)
{
    std::array<quint8, 32> keys = {};
    for (int keycode : keycodes) {
        keys[keycode / 8] |= quint8(1u << (keycode % 8));
    }
    return keys;
}

} // namespace

class X11KeyEventsTest : public QObject
{
    Q_OBJECT

private:
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        m_context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
        const xkb_rule_names names = {"evdev", "pc105", "us,de", "", ""};
        m_keymap = xkb_keymap_new_from_names(m_context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        TROVIX_REQUIRE(m_keymap, "no keyboard descriptions installed (Debian package xkb-data)");
    }

    void cleanupTestCase()
    {
        xkb_keymap_unref(m_keymap);
        xkb_context_unref(m_context);
    }

    void pressWithModifiers_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("state");
        QTest::addColumn<QList<int>>("down");
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("ignoringModifiers");

        const auto row = [](const char* name, quint16 keyCode, quint16 state, QList<int> down,
                            quint64 flags, const char* characters, const char* ignoringModifiers) {
            QTest::newRow(name) << int(keyCode) << int(state) << down << flags
                                << QString::fromLatin1(characters)
                                << QString::fromLatin1(ignoringModifiers);
        };
        row("shift, left key down", VirtualKey::M, Shift, {ShiftL},
            ModifierFlag::Shift | ModifierFlag::LeftShift, "M", "M");
        row("right super with num lock on, alt key down but not held", VirtualKey::M, Mod4 | Mod2,
            {SuperR, AltL}, ModifierFlag::Command | ModifierFlag::RightCommand, "m", "m");
        row("control gives a control character", VirtualKey::A, Control, {}, ModifierFlag::Control,
            "\x01", "a");
        row("caps lock", VirtualKey::A, Lock, {}, ModifierFlag::CapsLock, "A", "a");
        row("second group", VirtualKey::Z, SecondGroup, {}, 0, "y", "y");
        row("arrow carries its own flags", VirtualKey::LeftArrow, Mod4, {},
            ModifierFlag::Command | ModifierFlag::NumericPad | ModifierFlag::Function, "", "");
    }

    void pressWithModifiers()
    {
        QFETCH(int, keyCode);
        QFETCH(int, state);
        QFETCH(QList<int>, down);
        QFETCH(quint64, flags);
        QFETCH(QString, characters);
        QFETCH(QString, ignoringModifiers);

        const Event event =
            eventFromXcbKeyEvent(keyEvent(XCB_KEY_PRESS, quint16(keyCode), quint16(state)),
                                 m_keymap, stockModifierMap(), keysDown(down));
        QCOMPARE(event.type, Event::Type::KeyDown);
        QCOMPARE(event.keyCode, quint16(keyCode));
        QCOMPARE(event.modifierFlags, flags);
        QCOMPARE(event.characters, characters);
        QCOMPARE(event.charactersIgnoringModifiers, ignoringModifiers);
    }

    void releaseAndWhereAndWhen()
    {
        const Event event = eventFromXcbKeyEvent(keyEvent(XCB_KEY_RELEASE, VirtualKey::Q, 0),
                                                 m_keymap, stockModifierMap(), keysDown({}));
        QCOMPARE(event.type, Event::Type::KeyUp);
        QCOMPARE(event.keyCode, VirtualKey::Q);
        QCOMPARE(event.windowId, quint32(0x400007));
        QCOMPARE(event.locationInWindow, QPointF(10, 20));
        QCOMPARE(event.screenLocation, QPointF(110, 220));
        QCOMPARE(event.timestamp, 123.456);
    }

    void keyWithoutVirtualKeyCode()
    {
        xcb_key_press_event_t press = keyEvent(XCB_KEY_PRESS, VirtualKey::A, Mod4);
        press.detail = 99 + 8; // Print Screen
        const Event event =
            eventFromXcbKeyEvent(press, m_keymap, stockModifierMap(), keysDown({SuperR}));
        QCOMPARE(event.keyCode, Event::NoKeyCode);
        QCOMPARE(event.modifierFlags, ModifierFlag::Command | ModifierFlag::RightCommand);
    }
};

TROVIX_TEST_GUILESS_MAIN(X11KeyEventsTest)
#include "x11_key_events_test.moc"
