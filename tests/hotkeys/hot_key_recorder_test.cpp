#include "app/AppTestEnvironment.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyClearButton.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/input/memory/MemoryKeyboardLayout.h"
#include "platform/input/memory/MemoryModifierKeyState.h"
#include "support/TestProgram.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace QXSettingsKeys;
using namespace platform::ModifierFlag;
namespace VirtualKey = platform::VirtualKey;

namespace {

// A preferences-like window with the two recorders, their clear buttons and a
// line edit to move the focus to; the main controller is their delegate.
class RecorderEnvironment : public AppTestEnvironment
{
public:
    RecorderEnvironment()
        : service(new platform::MemoryHotKeyService()),
          modifierKeys(new platform::MemoryModifierKeyState())
    {
        platform::HotKeyService::setCurrent(std::unique_ptr<platform::HotKeyService>(service));
        platform::ModifierKeyState::setCurrent(
            std::unique_ptr<platform::ModifierKeyState>(modifierKeys));
        platform::KeyboardLayout::setCurrent(std::make_unique<platform::MemoryKeyboardLayout>(
            platform::MemoryKeyboardLayout::usLetterKeys()));
        auto* layout = new QHBoxLayout(&window);
        for (QXHotKeyTextView* recorder : {&frontmost, &allApplications}) {
            recorder->setHotKeyDelegate(&QXMainController::mainController());
            layout->addWidget(recorder);
        }
        frontmostClear.setTarget(&frontmost);
        allApplicationsClear.setTarget(&allApplications);
        layout->addWidget(&frontmostClear);
        layout->addWidget(&allApplicationsClear);
        layout->addWidget(&lineEdit);
        QXMainController::mainController().setAllApplicationsTriggerHotKeyTextView(
            &allApplications);
        QXHotKeyTextView::setReservedCombinationPromptForTesting([this](const QString& text) {
            prompts.append(text);
            return answerToPrompt;
        });
        window.show();
        window.activateWindow();
        windowActive = QTest::qWaitForWindowActive(&window);
    }
    ~RecorderEnvironment()
    {
        QXHotKeyTextView::setReservedCombinationPromptForTesting({});
        QXMainController::mainController().setAllApplicationsTriggerHotKeyTextView(nullptr);
        QXMainController::mainController().resetForTesting();
        platform::KeyboardLayout::setCurrent(nullptr);
        platform::ModifierKeyState::setCurrent(nullptr);
        platform::HotKeyService::setCurrent(nullptr);
    }

    QXMainController& controller() { return QXMainController::mainController(); }

    // Clicks a recorder as the user would.
    static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    // A key press as the X11 platform delivers it: the X keycode travels as
    // the native scan code.
    static void press(QWidget* widget, quint16 virtualKey, int qtKey,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        const quint32 scanCode = platform::xKeycodeForVirtualKeyCode(virtualKey).value_or(0);
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, scanCode, 0, 0, text);
        QApplication::sendEvent(widget, &event);
    }

    platform::MemoryHotKeyService* service;         // owned by HotKeyService::current()
    platform::MemoryModifierKeyState* modifierKeys; // owned by ModifierKeyState::current()
    QWidget window;
    QXHotKeyTextView frontmost;
    QXHotKeyTextView allApplications;
    QXHotKeyClearButton frontmostClear;
    QXHotKeyClearButton allApplicationsClear;
    QLineEdit lineEdit;
    QStringList prompts;
    bool answerToPrompt = true;
    bool windowActive = false;
};

} // namespace

// Recording, refusing, cancelling and clearing hot keys in the recorder field.
class HotKeyRecorderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(QXHotKeyHandlerApplication::recordingHotKeyTextView() == nullptr); }

    void onlyAClickStartsRecording()
    {
        RecorderEnvironment environment;
        QVERIFY(environment.windowActive);
        QXHotKeyTextView& recorder = environment.frontmost;
        QCOMPARE(recorder.displayedText(), QStringLiteral("None"));

        // Keyboard navigation passes the field by.
        environment.lineEdit.setFocus(Qt::OtherFocusReason);
        QTest::keyClick(&environment.lineEdit, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!recorder.hasFocus());
        recorder.setFocus(Qt::TabFocusReason);
        QVERIFY(!recorder.isRecording());

        environment.click(&recorder);
        QVERIFY(recorder.isRecording());
        QCOMPARE(recorder.displayedText(), QStringLiteral(" "));
        QCOMPARE(QXHotKeyHandlerApplication::recordingHotKeyTextView(), &recorder);

        // A click elsewhere ends recording without a change.
        environment.click(&environment.lineEdit);
        QVERIFY(!recorder.isRecording());
        QCOMPARE(recorder.displayedText(), QStringLiteral("None"));
        QVERIFY(QXHotKeyHandlerApplication::recordingHotKeyTextView() == nullptr);

        // So does the window losing the active state.
        environment.click(&recorder);
        QVERIFY(recorder.isRecording());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!recorder.isRecording());
        QVERIFY(!environment.settings().hasStoredValue(MenuTrigger));

        // A click into the inactive window starts recording once the window
        // is active; waiting too long for a key then ends it.
        QXHotKeyTextView::setRecordingTimeOutForTesting(300);
        environment.click(&recorder);
        QTRY_VERIFY(recorder.isRecording());
        QVERIFY(environment.window.isActiveWindow());
        QTRY_VERIFY(!recorder.isRecording());
        QCOMPARE(recorder.displayedText(), QStringLiteral("None"));
        QXHotKeyTextView::setRecordingTimeOutForTesting(0);
    }

    void recordingAKey_data()
    {
        QTest::addColumn<quint16>("keyCode");
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<qint64>("storedFlags");

        const int controlOption = int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("Control-Option-K needs no question")
            << VirtualKey::K << int(Qt::Key_K) << controlOption << false << true
            << qint64(Control | Option);
        QTest::newRow("Command-K is reserved, accepted")
            << VirtualKey::K << int(Qt::Key_K) << int(Qt::MetaModifier) << true << true
            << qint64(Command);
        QTest::newRow("Command-K is reserved, cancelled")
            << VirtualKey::K << int(Qt::Key_K) << int(Qt::MetaModifier) << true << false
            << qint64(-1);
        QTest::newRow("F5 alone is reserved")
            << VirtualKey::F5 << int(Qt::Key_F5) << 0 << true << true << qint64(Function);
        QTest::newRow("Shift-F5 needs no question")
            << VirtualKey::F5 << int(Qt::Key_F5) << int(Qt::ShiftModifier) << false << true
            << qint64(Shift | Function);
    }

    void recordingAKey()
    {
        QFETCH(quint16, keyCode);
        QFETCH(int, qtKey);
        QFETCH(int, modifiers);
        QFETCH(bool, asked);
        QFETCH(bool, answer);
        QFETCH(qint64, storedFlags);

        RecorderEnvironment environment;
        environment.answerToPrompt = answer;
        QXHotKeyTextView& recorder = environment.allApplications;
        QSignalSpy changes(&recorder, &QXHotKeyTextView::hotKeyChanged);
        environment.click(&recorder);
        QVERIFY(recorder.isRecording());
        environment.press(&recorder, keyCode, qtKey, Qt::KeyboardModifiers(modifiers));

        QCOMPARE(environment.prompts.size(), asked ? 1 : 0);
        QVERIFY(!recorder.isRecording());
        if (storedFlags < 0) {
            QVERIFY(!recorder.hotKey());
            QVERIFY(!environment.settings().hasStoredValue(MenuTriggerAllApplications));
            QVERIFY(environment.service->registrations().isEmpty());
            QCOMPARE(changes.size(), 0);
            return;
        }
        // Stored under the recorder's identifier, registered and shown.
        const QVariantMap stored =
            environment.settings().dictionaryForKey(MenuTriggerAllApplications);
        QCOMPARE(stored, recorder.hotKey()->dictionaryRepresentation());
        QCOMPARE(stored.value(QStringLiteral("Key Code")).toInt(), int(keyCode));
        QCOMPARE(stored.value(QStringLiteral("Modifier Flags")).toLongLong(), storedFlags);
        QCOMPARE(recorder.displayedText(),
                 stored.value(QStringLiteral("Visual Representation")).toString());
        QVERIFY(!recorder.displayedText().trimmed().isEmpty());
        if (asked) {
            QCOMPARE(environment.prompts.constFirst(), recorder.displayedText());
        }
        QCOMPARE(environment.service->registrations().size(), 1);
        QCOMPARE(environment.controller().hotKeyForIdentifier(MenuTriggerAllApplications),
                 recorder.hotKey());
        QCOMPARE(changes.size(), 1);
        QVERIFY(!environment.settings().hasStoredValue(MenuTrigger));
    }

    void recordedFlagsKeepCapsLockAndSides_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("capsLock");
        QTest::addColumn<qint64>("heldSides");
        QTest::addColumn<qint64>("storedFlags");
        QTest::addColumn<QString>("exactText");

        const int controlOption = int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("left Control, right Option")
            << controlOption << false << qint64(LeftControl | RightOption)
            << qint64(Control | Option | LeftControl | RightOption) << QStringLiteral("Ⓛ⌃Ⓡ⌥K");
        QTest::newRow("Caps Lock on, right Command")
            << int(Qt::MetaModifier | Qt::ShiftModifier) << true << qint64(RightCommand | LeftShift)
            << qint64(CapsLock | Shift | Command | RightCommand | LeftShift)
            << QStringLiteral("Ⓛ⇧Ⓡ⌘K");
        QTest::newRow("sides of modifiers the event lacks are dropped")
            << controlOption << false << qint64(LeftControl | LeftShift)
            << qint64(Control | Option | LeftControl) << QStringLiteral("Ⓛ⌃⌥K");
    }

    // The recorded flags keep Caps Lock and the left/right bits, so the
    // exact-match and Caps Lock settings can apply to a recorded hot key.
    void recordedFlagsKeepCapsLockAndSides()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, capsLock);
        QFETCH(qint64, heldSides);
        QFETCH(qint64, storedFlags);
        QFETCH(QString, exactText);

        RecorderEnvironment environment;
        environment.settings().setBool(true, HotKeysRequireExactModifierKeyMatches);
        QXHotKeyTextView& recorder = environment.allApplications;
        environment.modifierKeys->setCapsLockOn(capsLock);
        environment.modifierKeys->setHeldSides(platform::ModifierFlags(heldSides));
        environment.click(&recorder);
        environment.press(&recorder, VirtualKey::K, Qt::Key_K, Qt::KeyboardModifiers(modifiers));

        QVERIFY(recorder.hotKey());
        const QVariantMap stored =
            environment.settings().dictionaryForKey(MenuTriggerAllApplications);
        QCOMPARE(stored.value(QStringLiteral("Modifier Flags")).toLongLong(), storedFlags);
        QCOMPARE(recorder.displayedText(), exactText);
    }

    void escapeEndsRecordingUnlessMetaKeysAreIgnored()
    {
        RecorderEnvironment environment;
        QXHotKeyTextView& recorder = environment.frontmost;
        environment.click(&recorder);
        environment.press(&recorder, VirtualKey::Escape, Qt::Key_Escape, Qt::NoModifier,
                          QStringLiteral("\x1b"));
        QVERIFY(!recorder.isRecording());
        QVERIFY(!recorder.hotKey());
        QVERIFY(environment.prompts.isEmpty());

        // Modifier keys alone do nothing; recording goes on.
        environment.click(&recorder);
        environment.press(&recorder, VirtualKey::Control, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(recorder.isRecording());

        environment.settings().setBool(true, HotKeyTextViewIgnoreMetaKeys);
        environment.press(&recorder, VirtualKey::Escape, Qt::Key_Escape, Qt::NoModifier,
                          QStringLiteral("\x1b"));
        QCOMPARE(environment.prompts.size(), 1);
        QVERIFY(recorder.hotKey());
        QCOMPARE(recorder.hotKey()->keyCode(), VirtualKey::Escape);
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));
    }

    void aTakenCombinationBeepsAndRecordingGoesOn()
    {
        RecorderEnvironment environment;
        const Qt::KeyboardModifiers controlOption = Qt::ControlModifier | Qt::AltModifier;
        environment.click(&environment.frontmost);
        environment.press(&environment.frontmost, VirtualKey::M, Qt::Key_M, controlOption);
        QVERIFY(environment.frontmost.hotKey());
        const std::shared_ptr<QXHotKey> held = environment.frontmost.hotKey();

        // The other recorder's combination, this recorder's own one, and one
        // that another program holds.
        environment.service->holdElsewhere(VirtualKey::P, Control | Option);
        int beeps = 0;
        for (QXHotKeyTextView* recorder : {&environment.allApplications, &environment.frontmost}) {
            environment.click(recorder);
            for (const quint16 key : {VirtualKey::M, VirtualKey::P}) {
                environment.press(recorder, key, key == VirtualKey::M ? Qt::Key_M : Qt::Key_P,
                                  controlOption);
                QCOMPARE(environment.activation->beeps, ++beeps);
                QVERIFY(recorder->isRecording());
            }
        }
        QCOMPARE(environment.frontmost.hotKey(), held);
        QVERIFY(!environment.allApplications.hotKey());
        QVERIFY(!environment.settings().hasStoredValue(MenuTriggerAllApplications));

        // The desktop hands a press of a registered hot key to the program
        // rather than to the field: it is recorded like the key, and no
        // menu pops up.
        platform::Event press;
        press.type = platform::Event::Type::SystemDefined;
        press.subtype = platform::Event::HotKeyPressedSubtype;
        press.data1 = qint64(held->hotKeyReference());
        QVERIFY(QXHotKeyHandlerApplication::sharedApplication()->sendEvent(press));
        QCOMPARE(environment.activation->beeps, ++beeps);
        QVERIFY(environment.frontmost.isRecording());
        // Key presses are not taken out for the hot key handler meanwhile.
        platform::Event keyDown;
        keyDown.type = platform::Event::Type::KeyDown;
        keyDown.keyCode = VirtualKey::M;
        keyDown.modifierFlags = Control | Option;
        QVERIFY(!QXHotKeyHandlerApplication::sharedApplication()->sendEvent(keyDown));

        // Tab is recorded instead of moving the focus.
        environment.press(&environment.frontmost, VirtualKey::Tab, Qt::Key_Tab, controlOption);
        QVERIFY(!environment.frontmost.isRecording());
        QCOMPARE(environment.frontmost.hotKey()->keyCode(), VirtualKey::Tab);
        // The replaced hot key's registration ended with it.
        QCOMPARE(environment.service->registrations().size(), 1);
        QCOMPARE(environment.service->registrations().constFirst().keyCode, VirtualKey::Tab);
    }

    void clearing()
    {
        RecorderEnvironment environment;
        QXHotKeyTextView& recorder = environment.frontmost;
        QSignalSpy changes(&recorder, &QXHotKeyTextView::hotKeyChanged);
        environment.click(&recorder);
        environment.press(&recorder, VirtualKey::M, Qt::Key_M,
                          Qt::ControlModifier | Qt::AltModifier);
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));

        environment.click(&environment.frontmostClear);
        QVERIFY(!recorder.hotKey());
        QCOMPARE(recorder.displayedText(), QStringLiteral("None"));
        QVERIFY(!environment.settings().hasStoredValue(MenuTrigger));
        QVERIFY(environment.service->registrations().isEmpty());
        QVERIFY(!environment.controller().hotKeyForIdentifier(MenuTrigger));
        QCOMPARE(changes.size(), 2);
        // A view the controller does not know stands for the frontmost trigger; a hot key
        // without an identifier is refused.
        QCOMPARE(environment.controller().identifierForHotKeyTextView(nullptr), MenuTrigger);
        QVERIFY(!environment.controller().shouldSetHotKey(nullptr, QString()));

        // In the flat style the button of an empty field starts recording,
        // and clearing while recording ends it.
        QVERIFY(environment.frontmostClear.isEnabled());
        environment.click(&environment.frontmostClear);
        QVERIFY(recorder.isRecording());
        environment.click(&environment.frontmostClear);
        QVERIFY(!recorder.isRecording());

        // In the other style the button of an empty field is disabled.
        environment.settings().setBool(false, FlatUserInterfaceDrawing);
        recorder.setHotKey(nullptr);
        QVERIFY(!environment.frontmostClear.isEnabled());
        // Its image comes from the bundle's resources.
        const QImage drawn = environment.frontmostClear.grab().toImage();
        QImage blank(drawn.size(), drawn.format());
        blank.fill(drawn.pixel(0, 0));
        QVERIFY(drawn != blank);

        // Hiding the field hides its button.
        recorder.hide();
        QVERIFY(environment.frontmostClear.isHidden());
    }
};

TROVIX_TEST_MAIN_WITH(HotKeyRecorderTest, QXHotKeyHandlerApplication)

#include "hot_key_recorder_test.moc"
