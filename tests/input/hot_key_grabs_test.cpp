#include "platform/input/x11/X11HotKeyGrabs.h"
#include "support/TestProgram.h"

#include <QtTest>
#include <xkbcommon/xkbcommon-keysyms.h>

using namespace platform;

namespace {

constexpr quint16 Shift = 0x01;
constexpr quint16 Lock = 0x02;
constexpr quint16 Control = 0x04;
constexpr quint16 Mod1 = 0x08;
constexpr quint16 Mod2 = 0x10;
constexpr quint16 Mod3 = 0x20;
constexpr quint16 Mod4 = 0x40;
constexpr quint8 keyA = 38;
constexpr quint8 keyM = 58;

// A modifier map with Alt on Mod1 and Num Lock and Super where given (0: no
// such key on the keyboard).
X11ModifierMap mapWith(quint16 numLock, quint16 super)
{
    std::array<QList<quint8>, X11ModifierMap::ModifierCount> modifiers = {
        {{50}, {66}, {37}, {64}, {}, {}, {}, {}}};
    if (numLock != 0) {
        modifiers[qCountTrailingZeroBits(numLock)].append(77);
    }
    if (super != 0) {
        modifiers[qCountTrailingZeroBits(super)].append(133);
    }
    const QHash<quint8, QList<quint32>> keysyms = {
        {50, {XKB_KEY_Shift_L}}, {66, {XKB_KEY_Caps_Lock}}, {37, {XKB_KEY_Control_L}},
        {64, {XKB_KEY_Alt_L}},   {77, {XKB_KEY_Num_Lock}},  {133, {XKB_KEY_Super_L}},
    };
    return X11ModifierMap::fromServerMapping(
        modifiers, [keysyms](quint8 keycode) { return keysyms.value(keycode); });
}

// The passive key grabs of one client on an X server: a second grab of a
// combination the client holds is granted, and one ungrab ends it.
struct FakeServer
{
    QSet<QPair<quint8, quint16>> held;
    int requests = 0;

    bool grab(quint8 keycode, const QList<quint16>& states)
    {
        ++requests;
        for (quint16 state : states) {
            held.insert({keycode, state});
        }
        return true;
    }
    void ungrab(quint8 keycode, const QList<quint16>& states)
    {
        ++requests;
        for (quint16 state : states) {
            held.remove({keycode, state});
        }
    }
    // The states of the key the client holds, sorted.
    QList<quint16> states(quint8 keycode) const
    {
        QList<quint16> result;
        for (const auto& [key, state] : held) {
            if (key == keycode) {
                result.append(state);
            }
        }
        std::sort(result.begin(), result.end());
        return result;
    }
};

// The grabs of the program's connection on the fake server.
struct Grabs : X11HotKeyGrabs
{
    explicit Grabs(FakeServer& server)
        : X11HotKeyGrabs(
              [&server](quint8 keycode, const QList<quint16>& states) {
                  return server.grab(keycode, states);
              },
              [&server](quint8 keycode, const QList<quint16>& states) {
                  server.ungrab(keycode, states);
              })
    {}
};

// The modifiers with every combination of Caps Lock and a Num Lock modifier.
QList<quint16> withLocks(quint16 modifiers, quint16 numLock)
{
    return {modifiers, quint16(modifiers | Lock), quint16(modifiers | numLock),
            quint16(modifiers | Lock | numLock)};
}

const ModifierFlags controlOption = ModifierFlag::Control | ModifierFlag::Option;

} // namespace

// The hot key grabs one connection holds: a combination it already grabs is
// refused before the server is asked, and the grabs follow changes of the
// keyboard mapping.
class HotKeyGrabsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aDuplicateNeverTakesTheFirstGrabAway()
    {
        // Equal combinations, and Option and Command once a change has put
        // Super on Alt's X modifier: the grabs that did not move stay.
        FakeServer server;
        Grabs grabs(server);
        QVERIFY(grabs.add(1, keyM, controlOption, mapWith(Mod2, Mod4)));
        QVERIFY(!grabs.add(2, keyM, controlOption, mapWith(Mod2, Mod4)));
        QVERIFY(grabs.add(3, keyM, ModifierFlag::Command, mapWith(Mod2, Mod4)));
        QVERIFY(grabs.add(4, keyM, ModifierFlag::Option, mapWith(Mod2, Mod4)));
        grabs.remap(mapWith(Mod2, Mod1));
        QCOMPARE(grabs.grabbedStates(4), withLocks(Mod1, Mod2));
        QVERIFY(grabs.grabbedStates(3).isEmpty());

        grabs.remove(2);
        grabs.remove(3);
        QList<quint16> expected = withLocks(Mod1, Mod2) + withLocks(Control | Mod1, Mod2);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(server.states(keyM), expected);
        QCOMPARE(grabs.handleFor(keyM, Control | Mod1 | Lock), HotKeyHandle(1));
        grabs.clear();
        QVERIFY(server.held.isEmpty());
    }

    void grabsFollowTheModifierMap_data()
    {
        QTest::addColumn<qint64>("modifiers");
        QTest::addColumn<int>("numLockAfter");
        QTest::addColumn<int>("superAfter");
        QTest::addColumn<int>("grabbedModifiers"); // after the change; -1: none

        const qint64 commandShift = ModifierFlag::Command | ModifierFlag::Shift;
        QTest::newRow("Num Lock moves to Mod3")
            << qint64(controlOption) << int(Mod3) << int(Mod4) << int(Control | Mod1);
        QTest::newRow("Super moves to Mod3")
            << commandShift << int(Mod2) << int(Mod3) << int(Shift | Mod3);
        QTest::newRow("Super goes away") << commandShift << int(Mod2) << 0 << -1;
    }

    void grabsFollowTheModifierMap()
    {
        QFETCH(qint64, modifiers);
        QFETCH(int, numLockAfter);
        QFETCH(int, superAfter);
        QFETCH(int, grabbedModifiers);

        FakeServer server;
        Grabs grabs(server);
        QVERIFY(grabs.add(1, keyM, ModifierFlag::Control, mapWith(Mod2, Mod4)));
        QVERIFY(grabs.add(2, keyA, ModifierFlags(modifiers), mapWith(Mod2, Mod4)));

        grabs.remap(mapWith(numLockAfter, superAfter));
        // The other registration follows Num Lock too.
        QCOMPARE(server.states(keyM), withLocks(Control, quint16(numLockAfter)));
        if (grabbedModifiers < 0) {
            QVERIFY(server.states(keyA).isEmpty());
            QCOMPARE(grabs.handleFor(keyA, Shift), HotKeyHandle(0));
            // Back when the key is.
            grabs.remap(mapWith(Mod2, Mod4));
            QCOMPARE(server.states(keyA), withLocks(Shift | Mod4, Mod2));
            return;
        }
        QCOMPARE(server.states(keyA), withLocks(quint16(grabbedModifiers), numLockAfter));
        QCOMPARE(grabs.handleFor(keyA, quint16(grabbedModifiers | Lock | numLockAfter)),
                 HotKeyHandle(2));
        // Another change to the same map asks the server nothing.
        const int requests = server.requests;
        grabs.remap(mapWith(numLockAfter, superAfter));
        QCOMPARE(server.requests, requests);
    }
};

TROVIX_TEST_GUILESS_MAIN(HotKeyGrabsTest)
#include "hot_key_grabs_test.moc"
