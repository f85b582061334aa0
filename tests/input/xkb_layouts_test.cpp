#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/x11/XkbKeyText.h"
#include "support/Prerequisite.h"
#include "support/TestProgram.h"

#include <QtTest>
#include <xkbcommon/xkbcommon.h>

using namespace platform;

using OptionalString = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalString)

// Keymaps compiled from the system's keyboard descriptions, as a server with
// that layout would hand them out.
class XkbLayoutsTest : public QObject
{
    Q_OBJECT

private:
    xkb_context* m_context = nullptr;

    xkb_keymap* keymapFor(const char* layout, const char* variant = "")
    {
        const xkb_rule_names names = {"evdev", "pc105", layout, variant, ""};
        return xkb_keymap_new_from_names(m_context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    }

    static xkb_keycode_t keycodeOf(quint16 keyCode) { return *xKeycodeForVirtualKeyCode(keyCode); }

private Q_SLOTS:
    void initTestCase()
    {
        m_context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
        QVERIFY(m_context);
        xkb_keymap* probe = keymapFor("us");
        TROVIX_REQUIRE(probe, "no keyboard descriptions installed (Debian package xkb-data)");
        xkb_keymap_unref(probe);
    }

    void cleanupTestCase() { xkb_context_unref(m_context); }

    void unmodifiedCharacters_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<OptionalString>("character");

        QTest::newRow("us Z") << "us" << 0 << int(VirtualKey::Z) << OptionalString("z");
        QTest::newRow("de Z position") << "de" << 0 << int(VirtualKey::Z) << OptionalString("y");
        QTest::newRow("de Y position") << "de" << 0 << int(VirtualKey::Y) << OptionalString("z");
        QTest::newRow("fr A position") << "fr" << 0 << int(VirtualKey::A) << OptionalString("q");
        QTest::newRow("fr Q position") << "fr" << 0 << int(VirtualKey::Q) << OptionalString("a");
        QTest::newRow("fr digit row unshifted")
            << "fr" << 0 << int(VirtualKey::Digit2) << OptionalString(QStringLiteral("\u00e9"));
        QTest::newRow("second group") << "us,de" << 1 << int(VirtualKey::Z) << OptionalString("y");
        QTest::newRow("group past the last wraps")
            << "us,de" << 2 << int(VirtualKey::Z) << OptionalString("z");
        QTest::newRow("de dead circumflex")
            << "de" << 0 << int(VirtualKey::Grave) << OptionalString();
        QTest::newRow("modifier key") << "us" << 0 << int(VirtualKey::Shift) << OptionalString();
        QTest::newRow("escape gives a control character")
            << "us" << 0 << int(VirtualKey::Escape) << OptionalString();
    }

    void unmodifiedCharacters()
    {
        QFETCH(QString, layout);
        QFETCH(int, group);
        QFETCH(int, keyCode);
        QFETCH(OptionalString, character);
        xkb_keymap* keymap = keymapFor(qPrintable(layout));
        QVERIFY(keymap);
        QCOMPARE(unmodifiedCharacterForKey(keymap, keycodeOf(quint16(keyCode)), group), character);
        xkb_keymap_unref(keymap);
    }

    void keysOutsideTheKeymap()
    {
        xkb_keymap* keymap = keymapFor("us");
        QCOMPARE(unmodifiedCharacterForKey(keymap, 0, 0), std::nullopt);
        QCOMPARE(unmodifiedCharacterForKey(keymap, 100000, 0), std::nullopt);
        QCOMPARE(unmodifiedCharacterForKey(nullptr, 38, 0), std::nullopt);
        xkb_keymap_unref(keymap);
    }

    void textWithModifiers()
    {
        xkb_keymap* keymap = keymapFor("de");
        const xkb_keycode_t a = keycodeOf(VirtualKey::A);
        QCOMPARE(textForKey(keymap, a, 0, 0), QStringLiteral("a"));
        QCOMPARE(textForKey(keymap, a, 0x01, 0), QStringLiteral("A"));    // Shift
        QCOMPARE(textForKey(keymap, a, 0x02, 0), QStringLiteral("A"));    // Caps Lock
        QCOMPARE(textForKey(keymap, a, 0x04, 0), QStringLiteral("\x01")); // Control
        QCOMPARE(textForKey(keymap, keycodeOf(VirtualKey::Q), 0x80, 0), QStringLiteral("@"));
        QCOMPARE(textForKey(keymap, keycodeOf(VirtualKey::Shift), 0, 0), QString());
        xkb_keymap_unref(keymap);
    }
};

TROVIX_TEST_GUILESS_MAIN(XkbLayoutsTest)
#include "xkb_layouts_test.moc"
