#include "HotKeyTestEnvironment.h"
#include "hotkeys/QXHotKeyEvent.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace HotKeyTest;

// Registration with the hot key service, and the stored and shown forms of a
// hot key.
class HotKeyRegistrationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registrationHoldsOneServiceRegistration()
    {
        Environment environment;
        Owner owner;
        auto key = hotKey(KeyM, Control | Option | LeftControl);
        QVERIFY(!key->isRegistered());
        QVERIFY(key->registerForDelegate(owner));
        QVERIFY(key->isRegistered());

        QCOMPARE(environment.service->registrations().size(), 1);
        const auto registration = environment.service->registrations().constFirst();
        QCOMPARE(registration.handle, key->hotKeyReference());
        QCOMPARE(registration.keyCode, KeyM);
        QCOMPARE(registration.modifiers, Control | Option);

        // Registering again replaces the registration.
        const platform::HotKeyHandle first = key->hotKeyReference();
        QVERIFY(key->registerForDelegate(owner));
        QVERIFY(key->hotKeyReference() != first);
        QCOMPARE(environment.service->registrations().size(), 1);

        key->unregister();
        QVERIFY(!key->isRegistered());
        QVERIFY(environment.service->registrations().isEmpty());

        // Destroying a registered hot key ends its registration.
        QVERIFY(key->registerForDelegate(owner));
        key.reset();
        QVERIFY(environment.service->registrations().isEmpty());
    }

    void testsLeaveNothingBehind()
    {
        Environment environment;
        Owner owner;
        const auto key = hotKey(KeyM, Command);
        QVERIFY(key->testForDelegate(owner));
        QVERIFY(!key->isRegistered());
        QVERIFY(environment.service->registrations().isEmpty());

        // A registered hot key passes the test without a new request.
        QVERIFY(key->registerForDelegate(owner));
        const platform::HotKeyHandle handle = key->hotKeyReference();
        const int requests = environment.service->registrationRequests();
        QVERIFY(key->testForDelegate(owner));
        QCOMPARE(key->hotKeyReference(), handle);
        QCOMPARE(environment.service->registrationRequests(), requests);
        QCOMPARE(environment.service->registrations().size(), 1);
    }

    void equalHotKeysAreRefusedWithALogLine()
    {
        Environment environment;
        Owner owner;
        const auto first = hotKey(KeyM, Command | Option);
        QVERIFY(first->registerForDelegate(owner));
        owner.held = {first};

        // With the default settings Caps Lock and Function make no difference.
        const auto second = hotKey(KeyM, Command | Option | CapsLock | Function,
                                   QStringLiteral("Menu Trigger: All Applications"));
        const int requests = environment.service->registrationRequests();
        QVERIFY(!second->testForDelegate(owner));
        QVERIFY(!second->registerForDelegate(owner));
        QVERIFY(!second->isRegistered());
        QCOMPARE(environment.service->registrationRequests(), requests);
        QCOMPARE(environment.log.lines(),
                 QStringList(2, QStringLiteral("the hot key <⌥⌘M> is already taken")));

        // The holder itself is not its own duplicate.
        QVERIFY(first->registerForDelegate(owner));
    }

    void refusalByTheDesktopIsSilent()
    {
        Environment environment;
        Owner owner;
        environment.service->holdElsewhere(KeyP, Control | Shift);
        const auto key = hotKey(KeyP, Control | Shift | RightShift);
        QVERIFY(!key->registerForDelegate(owner));
        QVERIFY(!key->testForDelegate(owner));
        QVERIFY(!key->isRegistered());
        QVERIFY(environment.service->registrations().isEmpty());
        QVERIFY(environment.log.lines().isEmpty());
    }

    void dictionaryForm_data()
    {
        QTest::addColumn<QVariantMap>("dictionary");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<QString>("identifier"); // null: no hot key
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<quint64>("flags");

        const QVariantMap full{{QStringLiteral("Identifier"), QStringLiteral("Menu Trigger")},
                               {QStringLiteral("Visual Representation"), QStringLiteral("⌃⌥M")},
                               {QStringLiteral("Key Code"), 46},
                               {QStringLiteral("Modifier Flags"), 786721}};
        QTest::newRow("complete") << full << QString() << QStringLiteral("Menu Trigger") << 46
                                  << quint64(786721);
        QVariantMap noText = full;
        noText.remove(QStringLiteral("Visual Representation"));
        QTest::newRow("no display text")
            << noText << QStringLiteral("x") << QString() << 0 << quint64(0);
        QVariantMap noIdentifier = full;
        noIdentifier.remove(QStringLiteral("Identifier"));
        QTest::newRow("no identifier") << noIdentifier << QString() << QString() << 0 << quint64(0);
        QTest::newRow("no identifier, a fallback")
            << noIdentifier << QStringLiteral("Fallback") << QStringLiteral("Fallback") << 46
            << quint64(786721);
        QVariantMap noNumbers = full;
        noNumbers.remove(QStringLiteral("Key Code"));
        noNumbers.insert(QStringLiteral("Modifier Flags"), QStringLiteral("many"));
        QTest::newRow("numbers missing or unreadable read as 0")
            << noNumbers << QString() << QStringLiteral("Menu Trigger") << 0 << quint64(0);
        QVariantMap wide = full;
        wide.insert(QStringLiteral("Key Code"), 0x10000 + 46);
        QTest::newRow("key code keeps 16 bits")
            << wide << QString() << QStringLiteral("Menu Trigger") << 46 << quint64(786721);
        QTest::newRow("empty") << QVariantMap() << QString() << QString() << 0 << quint64(0);
    }

    void dictionaryForm()
    {
        QFETCH(QVariantMap, dictionary);
        QFETCH(QString, fallback);
        QFETCH(QString, identifier);
        QFETCH(int, keyCode);
        QFETCH(quint64, flags);
        Environment environment;
        const auto key = QXHotKey::hotKeyWithDictionaryRepresentation(dictionary, fallback);
        QCOMPARE(key != nullptr, !identifier.isNull());
        if (!key) {
            return;
        }
        QCOMPARE(key->identifier(), identifier);
        QCOMPARE(int(key->keyCode()), keyCode);
        QCOMPARE(key->modifierFlags(), flags);

        // Back to a dictionary and again to an equal hot key.
        const QVariantMap stored = key->dictionaryRepresentation();
        const auto again = QXHotKey::hotKeyWithDictionaryRepresentation(stored);
        QVERIFY(again);
        QCOMPARE(again->identifier(), identifier);
        QCOMPARE(again->keyCode(), key->keyCode());
        QCOMPARE(again->modifierFlags(), key->modifierFlags());
    }

    void displayTextFollowsTheKeyboardLayout()
    {
        Environment environment;
        const QString trigger = QStringLiteral("Menu Trigger");
        // The key of the recorded text is replaced by the layout's, the
        // modifiers come in the order Control, Option, Shift, Command.
        const auto key =
            hotKey(KeyM, Command | Option | LeftCommand, trigger, QStringLiteral("⌘⌥Q"));
        QCOMPARE(key->visualRepresentation(), QStringLiteral("⌥⌘M"));
        QCOMPARE(key->dictionaryRepresentation().value(QStringLiteral("Visual Representation")),
                 QVariant(QStringLiteral("⌥⌘M")));

        // A key the layout cannot name keeps the recorded key name.
        QCOMPARE(
            hotKey(0x6E, Control | Shift, trigger, QStringLiteral("⌃⇧ß"))->visualRepresentation(),
            QStringLiteral("⌃⇧ß"));
        QCOMPARE(hotKey(0x6E, Command, trigger, QStringLiteral("⌃⇧"))->visualRepresentation(),
                 QStringLiteral("⌃⇧"));
        const auto noText = hotKey(KeyM, Command, trigger, QString());
        QVERIFY(noText->visualRepresentation().isNull());
        QVERIFY(
            !noText->dictionaryRepresentation().contains(QStringLiteral("Visual Representation")));

        // Exact matching shows the sides; the text is kept once computed,
        // until a new one is set.
        environment.settings().setBool(
            true, QStringLiteral("Hot Keys Require Exact Modifier Key Matches"));
        QCOMPARE(key->visualRepresentation(), QStringLiteral("⌥⌘M"));
        key->setVisualRepresentation(QStringLiteral("⌘⌥M"));
        QVERIFY(key->visualRepresentation() != QStringLiteral("⌥⌘M"));
        QVERIFY(key->visualRepresentation().endsWith(QStringLiteral("⌘M")));
    }

    void keyEventDisplayText()
    {
        Environment environment;
        platform::Event event;
        event.keyCode = KeyM;
        event.modifierFlags = Control | Shift;
        QCOMPARE(QXHotKeyEvent::visualKeyboardEventRepresentation(event), QStringLiteral("⌃⇧M"));
        event.keyCode = platform::Event::NoKeyCode;
        event.charactersIgnoringModifiers = QStringLiteral("é");
        QCOMPARE(QXHotKeyEvent::visualKeyboardEventRepresentation(event), QStringLiteral("⌃⇧é"));
    }
};

TROVIX_TEST_GUILESS_MAIN(HotKeyRegistrationTest)
#include "hot_key_registration_test.moc"
