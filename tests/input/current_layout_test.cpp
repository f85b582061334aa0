#include "platform/input/KeyboardLayout.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/memory/MemoryKeyboardLayout.h"
#include "platform/input/x11/X11Keyboard.h"
#include "platform/input/x11/X11KeyboardLayout.h"
#include "support/TestProgram.h"

#include <QGuiApplication>
#include <QtTest>

using namespace platform;

// Which layout answers, and what happens without an X server.
class CurrentLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An installed layout answers until removed; then the X11 layout does,
    // and without an X server it answers nothing.
    void installedLayoutThenTheX11One()
    {
        auto memory = std::make_unique<MemoryKeyboardLayout>();
        memory->setCharacter(VirtualKey::Z, QStringLiteral("y"));
        MemoryKeyboardLayout* installed = memory.get();
        KeyboardLayout::setCurrent(std::move(memory));
        QCOMPARE(&KeyboardLayout::current(), installed);
        QCOMPARE(KeyboardLayout::current().characterForKeyCode(VirtualKey::Z),
                 std::optional<QString>(QStringLiteral("y")));
        QCOMPARE(installed->queryCount(), 1);

        KeyboardLayout::setCurrent(nullptr);
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        QCOMPARE(X11Keyboard::instance(), nullptr);
        QVERIFY(dynamic_cast<X11KeyboardLayout*>(&KeyboardLayout::current()));
        for (quint16 keyCode : {VirtualKey::A, VirtualKey::Z, VirtualKey::Space, quint16(0xFFFF)}) {
            QCOMPARE(KeyboardLayout::current().characterForKeyCode(keyCode), std::nullopt);
        }
    }
};

TROVIX_TEST_MAIN(CurrentLayoutTest)
#include "current_layout_test.moc"
