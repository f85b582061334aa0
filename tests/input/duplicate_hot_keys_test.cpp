#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/input/x11/X11HotKeyService.h"
#include "platform/input/x11/X11Keyboard.h"

#include <QGuiApplication>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

using namespace platform;
using namespace platform::ModifierFlag;

namespace {

// With TROVIX_TEST_X11 set (on the private virtual desktop) the cases run
// against the X server's grabs as well as against the memory service.
bool x11Wanted()
{
    return qEnvironmentVariableIsSet("TROVIX_TEST_X11");
}

// A hot key service, and whether another program trying to take a
// combination would be refused because this program holds it.
class Backend
{
public:
    virtual ~Backend() = default;
    virtual HotKeyService& service() = 0;
    virtual bool isHeld(quint16 keyCode, ModifierFlags modifiers) = 0;
};

class MemoryBackend : public Backend
{
public:
    HotKeyService& service() override { return m_service; }
    bool isHeld(quint16 keyCode, ModifierFlags modifiers) override
    {
        return m_service.isHeld(keyCode, modifiers);
    }

private:
    MemoryHotKeyService m_service;
};

// The service on the application's X connection; a second connection plays
// the other program.
class X11Backend : public Backend
{
public:
    X11Backend() : m_service(X11HotKeyService::create()), m_other(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_other));
        m_root = screens.data->root;
    }
    ~X11Backend() override { xcb_disconnect(m_other); }

    bool isAvailable() const { return m_service && !xcb_connection_has_error(m_other); }
    HotKeyService& service() override { return *m_service; }
    bool isHeld(quint16 keyCode, ModifierFlags modifiers) override
    {
        const ModifierFlags held = modifiers & (Shift | Control | Option | Command | Function) &
                                   ~intrinsicModifierFlagsForKeyCode(keyCode);
        const std::optional<quint16> state =
            X11Keyboard::instance()->modifierMap().grabModifiersForFlags(held);
        const std::optional<quint8> keycode = xKeycodeForVirtualKeyCode(keyCode);
        if (!state || !keycode) {
            return false;
        }
        xcb_generic_error_t* error = xcb_request_check(
            m_other, xcb_grab_key_checked(m_other, 0, m_root, *state, *keycode, XCB_GRAB_MODE_ASYNC,
                                          XCB_GRAB_MODE_ASYNC));
        if (error == nullptr) {
            xcb_ungrab_key(m_other, *keycode, m_root, *state);
            xcb_flush(m_other);
            return false;
        }
        const bool refused = error->error_code == XCB_ACCESS;
        std::free(error);
        return refused;
    }

private:
    std::unique_ptr<X11HotKeyService> m_service;
    xcb_connection_t* m_other;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

std::unique_ptr<Backend> backendNamed(const QString& name)
{
    if (name == QLatin1String("x11")) {
        return std::make_unique<X11Backend>();
    }
    return std::make_unique<MemoryBackend>();
}

} // namespace

// Two registrations of one program that the desktop cannot tell apart: the
// second is refused, and it never takes the first one's grab away, whichever
// backend runs.
class DuplicateHotKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theSecondOfTwoEqualCombinationsIsRefused_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<quint16>("firstKey");
        QTest::addColumn<qint64>("firstModifiers");
        QTest::addColumn<quint16>("secondKey");
        QTest::addColumn<qint64>("secondModifiers");
        QTest::addColumn<bool>("accepted");

        const ModifierFlags controlOption = Control | Option;
        QStringList backends = {QStringLiteral("memory")};
        if (x11Wanted()) {
            backends.append(QStringLiteral("x11"));
        }
        for (const QString& backend : std::as_const(backends)) {
            const auto row = [&backend](const char* name) {
                return &(QTest::addRow("%s: %s", qPrintable(backend), name) << backend);
            };
            *row("same combination") << VirtualKey::M << qint64(controlOption) << VirtualKey::M
                                     << qint64(controlOption) << false;
            *row("differs in Caps Lock") << VirtualKey::M << qint64(controlOption) << VirtualKey::M
                                         << qint64(controlOption | CapsLock) << false;
            *row("left and right Command")
                << VirtualKey::M << qint64(Control | Command | LeftCommand) << VirtualKey::M
                << qint64(Control | Command | RightCommand) << false;
            *row("differs in the keypad bit")
                << VirtualKey::M << qint64(controlOption) << VirtualKey::M
                << qint64(controlOption | NumericPad) << false;
            *row("Function on an F key") << VirtualKey::F5 << qint64(Control) << VirtualKey::F5
                                         << qint64(Control | Function) << false;
            *row("another key") << VirtualKey::M << qint64(controlOption) << VirtualKey::A
                                << qint64(controlOption) << true;
            *row("more modifiers") << VirtualKey::M << qint64(controlOption) << VirtualKey::M
                                   << qint64(controlOption | Shift) << true;
        }
    }

    void theSecondOfTwoEqualCombinationsIsRefused()
    {
        QFETCH(QString, backend);
        QFETCH(quint16, firstKey);
        QFETCH(qint64, firstModifiers);
        QFETCH(quint16, secondKey);
        QFETCH(qint64, secondModifiers);
        QFETCH(bool, accepted);

        const std::unique_ptr<Backend> desktop = backendNamed(backend);
        if (auto* x11 = dynamic_cast<X11Backend*>(desktop.get()); x11 && !x11->isAvailable()) {
            QFAIL("no X server with XKB to run the X11 cases on");
        }
        HotKeyService& service = desktop->service();
        const std::optional<HotKeyHandle> first =
            service.registerHotKey(firstKey, ModifierFlags(firstModifiers), 1, 1, nullptr);
        QVERIFY(first);
        QVERIFY(desktop->isHeld(firstKey, ModifierFlags(firstModifiers)));

        HotKeyRefusal refusal = HotKeyRefusal::Unavailable;
        const std::optional<HotKeyHandle> second =
            service.registerHotKey(secondKey, ModifierFlags(secondModifiers), 1, 2, &refusal);
        QCOMPARE(second.has_value(), accepted);
        if (!second) {
            QCOMPARE(refusal, HotKeyRefusal::HeldElsewhere);
        }
        if (second) {
            QVERIFY(*second != *first);
            QVERIFY(desktop->isHeld(secondKey, ModifierFlags(secondModifiers)));
            service.unregisterHotKey(*second);
            QVERIFY(!desktop->isHeld(secondKey, ModifierFlags(secondModifiers)));
        }
        // The first registration keeps its combination either way.
        QVERIFY(desktop->isHeld(firstKey, ModifierFlags(firstModifiers)));

        service.unregisterHotKey(*first);
        QVERIFY(!desktop->isHeld(firstKey, ModifierFlags(firstModifiers)));
    }

    void aKeyNoKeyboardHasIsNotInTheMapping_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::newRow("memory") << QStringLiteral("memory");
        if (x11Wanted()) {
            QTest::newRow("x11") << QStringLiteral("x11");
        }
    }

    // A stored key code from elsewhere is refused for what it is, not as a
    // combination another program holds.
    void aKeyNoKeyboardHasIsNotInTheMapping()
    {
        QFETCH(QString, backend);
        const std::unique_ptr<Backend> desktop = backendNamed(backend);
        if (auto* x11 = dynamic_cast<X11Backend*>(desktop.get()); x11 && !x11->isAvailable()) {
            QFAIL("no X server with XKB to run the X11 cases on");
        }
        constexpr quint16 noSuchKey = 0xFFF;
        QVERIFY(!xKeycodeForVirtualKeyCode(noSuchKey));
        HotKeyRefusal refusal = HotKeyRefusal::Unavailable;
        QVERIFY(!desktop->service().registerHotKey(noSuchKey, Control, 1, 1, &refusal));
        QCOMPARE(refusal, HotKeyRefusal::NotInKeyboardMapping);
    }
};

int main(int argc, char** argv)
{
    // The X11 service needs the application's own X connection.
    if (!x11Wanted()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    DuplicateHotKeysTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "duplicate_hot_keys_test.moc"
