#include "platform/input/KeyboardLayout.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/X11Keyboard.h"
#include "platform/input/x11/X11KeyboardLayout.h"
#include "support/TestProgram.h"

#include <QGuiApplication>
#include <QtTest>

using namespace platform;

// Without an X server (the offscreen platform here) the keyboard layout in
// effect is the X11 one, and it answers nothing rather than failing.
class CurrentLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutAnXServerNothingIsAnswered()
    {
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
