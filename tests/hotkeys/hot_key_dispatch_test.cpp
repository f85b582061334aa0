#include "app/AppTestEnvironment.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKey.h"
#include "hotkeys/QXHotKeyHandlerApplication.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/input/memory/MemoryRightClickService.h"
#include "platform/menus/Menu.h"
#include "platform/menus/MenuItem.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace QXSettingsKeys;
using namespace platform::ModifierFlag;
using platform::Event;

namespace {

constexpr quint16 KeyM = 0x2E;
constexpr quint16 KeyA = 0x00;
constexpr qint64 FixturePid = 4242;

// A press of a registered hot key as the desktop delivers it.
Event hotKeyPress(platform::HotKeyHandle handle, platform::ModifierFlags flags = Control | Option)
{
    Event press;
    press.type = Event::Type::SystemDefined;
    press.subtype = Event::HotKeyPressedSubtype;
    press.modifierFlags = flags;
    press.data1 = qint64(handle);
    return press;
}

// The titles of the pop-up menu that runs is shown while work runs; the menu
// is closed as soon as it appears. Empty when no menu appeared.
QStringList popUpTitlesDuring(const std::function<void()>& work)
{
    QStringList titles;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&titles] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || !titles.isEmpty()) {
            return;
        }
        for (const QAction* action : menu->actions()) {
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        menu->close();
    });
    watcher.start();
    work();
    return titles;
}

// An application delegate that takes every press it is given, or none.
class RecordingHandler : public QXApplicationDelegate, public QXHotKeyHandler
{
public:
    void applicationWillFinishLaunching() override {}
    void applicationDidFinishLaunching() override {}
    void applicationDidResignActive() override {}
    bool applicationShouldHandleReopen(bool) override { return false; }
    TerminateReply applicationShouldTerminate() override { return TerminateReply::Now; }
    bool handleKeyDownEvent(const Event& event, bool* repeat) override
    {
        handled.append(event);
        *repeat = handled.size() < repeatUntilHandled;
        return takesEvents;
    }

    QList<Event> handled;
    bool takesEvents = true;
    // Asks for repetition until it has handled this many presses.
    qsizetype repeatUntilHandled = 0;
};

// An application delegate that notes what each reopen request saw.
class ReopenRecorder : public RecordingHandler
{
public:
    bool applicationShouldHandleReopen(bool visible) override
    {
        hasVisibleWindows.append(visible);
        return false;
    }

    QList<bool> hasVisibleWindows;
};

// A desktop with a frontmost fixture application, the memory hot key and
// right-click services, and the main controller as the application's delegate,
// timing menus and presses by a clock that moves only when the test moves it.
class DispatchEnvironment : public AppTestEnvironment
{
public:
    DispatchEnvironment()
        : hotKeys(new platform::MemoryHotKeyService()),
          rightClicks(new platform::MemoryRightClickService()),
          workspace(new platform::MemoryWorkspace())
    {
        platform::HotKeyService::setCurrent(std::unique_ptr<platform::HotKeyService>(hotKeys));
        platform::RightClickService::setCurrent(
            std::unique_ptr<platform::RightClickService>(rightClicks));
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(workspace));
        accessibility->addApplicationFromFile(FixturePid,
                                              qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                  QStringLiteral("/tests/fixtures/menu.json"));
        workspace->addApplication(FixturePid, QStringLiteral("Trovix Fixture"),
                                  QStringLiteral("/usr/bin/trovix-fixture"));
        workspace->setFrontmost(FixturePid);
        workspace->setMenuBarOwner(FixturePid);
        QXHotKeyHandlerApplication::sharedApplication()->setDelegate(
            &QXMainController::mainController());
        QXMainController::mainController().setClockForTesting([this] { return now; });
    }
    ~DispatchEnvironment()
    {
        QXHotKeyHandlerApplication::sharedApplication()->setDelegate(nullptr);
        QXMainController::mainController().resetForTesting();
        platform::Workspace::setCurrent(nullptr);
        platform::RightClickService::setCurrent(nullptr);
        platform::HotKeyService::setCurrent(nullptr);
    }

    // Stores a Control-Option hot key under identifier.
    void storeHotKey(const QString& identifier, quint16 keyCode)
    {
        settings().setObject(
            QVariantMap{{QStringLiteral("Identifier"), identifier},
                        {QStringLiteral("Visual Representation"), QStringLiteral("⌃⌥M")},
                        {QStringLiteral("Key Code"), keyCode},
                        {QStringLiteral("Modifier Flags"), qint64(Control | Option)}},
            identifier);
    }

    platform::MemoryHotKeyService* hotKeys;         // owned by HotKeyService::current()
    platform::MemoryRightClickService* rightClicks; // owned by RightClickService::current()
    platform::MemoryWorkspace* workspace;           // owned by Workspace::current()
    double now = 1000.0;                            // seconds, the controller's clock
};

} // namespace

// From a hot key press to the pop-up menu, and the hot keys at start-up.
class HotKeyDispatchTest : public QObject
{
    Q_OBJECT

private:
    QXMainController& controller() { return QXMainController::mainController(); }
    QXHotKeyHandlerApplication& application()
    {
        return *QXHotKeyHandlerApplication::sharedApplication();
    }

    void launch()
    {
        controller().applicationWillFinishLaunching();
        controller().applicationDidFinishLaunching();
    }

    // Stores and registers the two hot keys: Control-Option-M for the
    // frontmost application, Control-Option-A for all applications.
    void setUpHotKeys(DispatchEnvironment& environment)
    {
        environment.storeHotKey(MenuTrigger, KeyM);
        environment.storeHotKey(MenuTriggerAllApplications, KeyA);
        environment.settings().setBool(true, StealthMode);
        launch();
        QCOMPARE(controller().hotKeys().size(), 2);
    }

    platform::HotKeyHandle handleOf(const QString& identifier)
    {
        return controller().hotKeyForIdentifier(identifier)->hotKeyReference();
    }

private Q_SLOTS:
    void theApplicationFiltersHotKeyEvents()
    {
        RecordingHandler handler;
        application().setDelegate(&handler);
        const Event press = hotKeyPress(0, {});
        Event release = press;
        release.subtype = Event::HotKeyReleasedSubtype;
        Event keyDown;
        keyDown.type = Event::Type::KeyDown;
        Event otherSubtype = press;
        otherSubtype.subtype = 7;
        Event scroll;
        scroll.type = Event::Type::ScrollWheel;

        QVERIFY(application().sendEvent(press));
        QVERIFY(application().sendEvent(keyDown));
        QVERIFY2(application().sendEvent(release), "releases are never passed on");
        QVERIFY(!application().sendEvent(otherSubtype));
        QVERIFY(!application().sendEvent(scroll));
        QCOMPARE(handler.handled.size(), 2);

        // What the handler does not take goes its normal way.
        handler.takesEvents = false;
        QVERIFY(!application().sendEvent(press));
        QVERIFY(!application().sendEvent(keyDown));
        QVERIFY(!application().handleKeyDownEvent(nullptr, true));

        // A handler asking for repetition gets the press again while the key
        // is held and it asks; the release ends the repetition at once.
        handler.takesEvents = true;
        handler.handled.clear();
        handler.repeatUntilHandled = 3;
        QVERIFY(application().sendEvent(press));
        QVERIFY(application().eventToRepeat().has_value());
        QVERIFY(application().sendEvent(release));
        QVERIFY(!application().eventToRepeat().has_value());
        handler.handled.clear();
        QVERIFY(application().sendEvent(press));
        QTRY_COMPARE(handler.handled.size(), 3);
        QVERIFY(!application().eventToRepeat().has_value());

        // Without a hot key handler nothing is taken.
        application().setDelegate(nullptr);
        QVERIFY(!application().sendEvent(press));
    }

    void storedHotKeysAreRegisteredAndPopUpTheirMenus()
    {
        DispatchEnvironment environment;
        setUpHotKeys(environment);
        const auto registrations = environment.hotKeys->registrations();
        QCOMPARE(registrations.size(), 2);
        QCOMPARE(registrations[0].keyCode, KeyM);
        QCOMPARE(registrations[1].keyCode, KeyA);
        QCOMPARE(controller().hotKeys().constFirst()->identifier(), MenuTrigger);
        QVERIFY(controller().hasHotKeys());
        QVERIFY(controller().hasUsableTrigger());
        QVERIFY(environment.log.lines().isEmpty());

        // Through the service, as the desktop delivers presses.
        const QStringList frontmost = popUpTitlesDuring([&] {
            environment.hotKeys->press(handleOf(MenuTrigger), Control | Option | CapsLock);
        });
        QVERIFY2(frontmost.contains(QStringLiteral("File")), qPrintable(frontmost.join(u'|')));
        environment.now += 1;
        const QStringList all = popUpTitlesDuring([&] {
            environment.hotKeys->press(handleOf(MenuTriggerAllApplications), Control | Option);
        });
        QVERIFY2(!all.contains(QStringLiteral("File")), qPrintable(all.join(u'|')));
        QVERIFY2(all.contains(QStringLiteral("Trovix Fixture")), qPrintable(all.join(u'|')));

        // Presses of nothing registered, or with other modifiers, are not taken.
        environment.now += 1;
        bool repeat = false;
        QVERIFY(
            !controller().handleKeyDownEvent(hotKeyPress(handleOf(MenuTrigger) + 100), &repeat));
        QVERIFY(
            !controller().handleKeyDownEvent(hotKeyPress(handleOf(MenuTrigger), Control), &repeat));
        QVERIFY(!repeat);

        // A key press of the program's own windows matching a hot key.
        Event keyDown;
        keyDown.type = Event::Type::KeyDown;
        keyDown.keyCode = KeyA;
        keyDown.modifierFlags = Control | Option;
        bool taken = false;
        QVERIFY(!popUpTitlesDuring([&] { taken = application().sendEvent(keyDown); }).isEmpty());
        QVERIFY(taken);

        // A press within 0.1 s after a menu closed belongs to that menu: it is
        // taken, but opens no second menu. A later one opens the menu.
        const Event press = hotKeyPress(handleOf(MenuTrigger));
        environment.now += 0.09;
        taken = false;
        QVERIFY(popUpTitlesDuring([&] { taken = application().sendEvent(press); }).isEmpty());
        QVERIFY(taken);
        environment.now += 0.02;
        QVERIFY(!popUpTitlesDuring([&] { application().sendEvent(press); }).isEmpty());

        // Without accessibility a press is taken and shows no menu: the first
        // one says why, later ones only beep.
        environment.now += 1;
        environment.accessibility->setTrusted(false);
        taken = false;
        QVERIFY(popUpTitlesDuring([&] { taken = application().sendEvent(press); }).isEmpty());
        QVERIFY(taken);
        QCOMPARE(environment.alerts.size(), 1);
        QCOMPARE(environment.activation->beeps, 0);
        QVERIFY(popUpTitlesDuring([&] { application().sendEvent(press); }).isEmpty());
        QCOMPARE(environment.alerts.size(), 1);
        QCOMPARE(environment.activation->beeps, 1);
    }

    void hotKeyWithTheProgramInFrontPopsUpItsOwnMenu_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QStringList>("head");
        QTest::newRow("frontmost application")
            << QString(MenuTrigger) << QStringList{"About Trovix", "Check for Updates...", "Help"};
        QTest::newRow("all applications")
            << QString(MenuTriggerAllApplications) << QStringList{"Trovix", "Trovix Fixture"};
    }

    void hotKeyWithTheProgramInFrontPopsUpItsOwnMenu()
    {
        QFETCH(QString, identifier);
        QFETCH(QStringList, head);
        DispatchEnvironment environment;
        // The program's own window in front. Its menus are never read over
        // accessibility: the main thread that reads would have to answer.
        const qint64 ownPid = QCoreApplication::applicationPid();
        environment.accessibility->addApplicationFromFile(
            ownPid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                        QStringLiteral("/tests/fixtures/menu.json"));
        environment.workspace->addApplication(ownPid, QStringLiteral("Trovix"),
                                              QStringLiteral("/usr/bin/trovix"));
        environment.workspace->setFrontmost(ownPid);
        environment.workspace->setMenuBarOwner(ownPid);
        setUpHotKeys(environment);
        environment.accessibility->resetCounters();

        const QStringList titles = popUpTitlesDuring(
            [&] { environment.hotKeys->press(handleOf(identifier), Control | Option); });
        QVERIFY2(titles.mid(0, head.size()) == head, qPrintable(titles.join(u'|')));
        QCOMPARE(environment.accessibility->requestCount(), 0);
        if (identifier == MenuTriggerAllApplications) {
            // The program's item carries its own menu, built without reading.
            const std::unique_ptr<platform::Menu> menu = controller().buildPopUpMenu(true);
            const platform::MenuItem* own = menu->itemWithTitle(QStringLiteral("Trovix"));
            QVERIFY(own != nullptr && own->submenu() != nullptr);
            QCOMPARE(own->submenu()->itemAtIndex(0)->title(), QStringLiteral("About Trovix"));
            QCOMPARE(environment.accessibility->requestCount(), 0);
        }
    }

    void reopenCountsOnlyWindowsOnScreen_data()
    {
        QTest::addColumn<int>("windowType");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<bool>("visible");
        QTest::newRow("normal window") << int(Qt::Window) << false << true;
        QTest::newRow("dialog") << int(Qt::Dialog) << false << true;
        QTest::newRow("minimised window") << int(Qt::Window) << true << false;
        QTest::newRow("pop-up menu") << int(Qt::Popup) << false << false;
        QTest::newRow("tool tip") << int(Qt::ToolTip) << false << false;
        QTest::newRow("unmanaged window, as the tray icon")
            << int(Qt::Window | Qt::X11BypassWindowManagerHint) << false << false;
    }

    void reopenCountsOnlyWindowsOnScreen()
    {
        QFETCH(int, windowType);
        QFETCH(bool, minimised);
        QFETCH(bool, visible);
        ReopenRecorder delegate;
        application().setDelegate(&delegate);
        application().handleReopen();
        QWidget window(nullptr, Qt::WindowFlags(windowType));
        minimised ? window.showMinimized() : window.show();
        application().handleReopen();
        application().setDelegate(nullptr);
        QCOMPARE(delegate.hasVisibleWindows, (QList<bool>{false, visible}));
    }

    // A stored hot key the desktop refuses stays stored and held, shown as
    // not working with the reason; only one equal to the hot key registered
    // before it is removed, as both could never work.
    void storedHotKeysTheDesktopRefusesAreKept_data()
    {
        QTest::addColumn<int>(
            "refusal"); // 0: held elsewhere, 1: no such key, 2: equal to the first
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("mark");
        const QString later =
            QStringLiteral("; it stays stored and is tried again at the next start and keyboard "
                           "mapping change");
        QTest::newRow("held by another program")
            << 0 << true
            << "the hot key <⌃⌥M> for \"Menu Trigger: All Applications\" is in use by another "
               "program" +
                   later
            << QStringLiteral("In use by another program");
        QTest::newRow("a key this keyboard does not have")
            << 1 << true
            << "the hot key <⌃⌥M> for \"Menu Trigger: All Applications\" is not in the keyboard "
               "mapping" +
                   later
            << QStringLiteral("Not available with this keyboard");
        QTest::newRow("equal to the first")
            << 2 << false << QStringLiteral("the hot key <⌃⌥M> is already taken") << QString();
    }

    void storedHotKeysTheDesktopRefusesAreKept()
    {
        QFETCH(int, refusal);
        QFETCH(bool, kept);
        QFETCH(QString, logged);
        QFETCH(QString, mark);
        DispatchEnvironment environment;
        const quint16 secondKey = refusal == 0 ? KeyA : refusal == 1 ? quint16(0xFFF) : KeyM;
        environment.hotKeys->holdElsewhere(KeyA, Control | Option);
        environment.storeHotKey(MenuTrigger, KeyM);
        environment.storeHotKey(MenuTriggerAllApplications, secondKey);
        environment.settings().setBool(true, StealthMode);
        launch();

        QVERIFY2(environment.log.lines().contains(logged),
                 qPrintable(environment.log.lines().join(u'\n')));
        QCOMPARE(environment.settings().hasStoredValue(MenuTriggerAllApplications), kept);
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));
        QCOMPARE(controller().hotKeys().size(), kept ? 2 : 1);
        QCOMPARE(environment.hotKeys->registrations().size(), 1);
        QVERIFY(controller().hasHotKeys());

        controller().fillPreferencesControls();
        QXHotKeyTextView* recorder =
            controller().preferencesWindow()->allApplicationsTriggerHotKeyTextView();
        QCOMPARE(recorder->displayedText(), kept ? QStringLiteral("⌃⌥M") : QStringLiteral("None"));
        QCOMPARE(recorder->registrationProblem(), mark);
        QCOMPARE(recorder->accessibleDescription(), mark);
        QCOMPARE(controller()
                     .preferencesWindow()
                     ->frontmostApplicationTriggerHotKeyTextView()
                     ->registrationProblem(),
                 QString());
    }

    // The only hot key is held by another program: the preferences open, the
    // hot key stays stored and is tried again at every keyboard mapping
    // change; it works from the first change after the other program let go.
    // The refusal is logged once, not at every try.
    void aRefusedHotKeyWorksAfterTheOtherProgramLetsGo()
    {
        DispatchEnvironment environment;
        environment.hotKeys->holdElsewhere(KeyM, Control | Option);
        environment.storeHotKey(MenuTrigger, KeyM);
        environment.settings().setBool(false, EnableRightClickTrigger);
        environment.settings().setBool(true, StealthMode);
        QSignalSpy shown(&controller(), &QXMainController::preferencesShown);
        launch();
        QCOMPARE(shown.size(), 1);
        QVERIFY(!controller().hasHotKeys());
        QVERIFY(!controller().hasUsableTrigger());
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));
        controller().fillPreferencesControls();
        QXHotKeyTextView* recorder =
            controller().preferencesWindow()->frontmostApplicationTriggerHotKeyTextView();
        QSignalSpy problems(recorder, &QXHotKeyTextView::registrationProblemChanged);
        QCOMPARE(recorder->registrationProblem(), QStringLiteral("In use by another program"));

        const auto refusals = [&environment] {
            return environment.log.lines()
                .filter(QStringLiteral("in use by another program"))
                .size();
        };
        QCOMPARE(refusals(), 1);
        environment.hotKeys->changeKeyboardMapping();
        environment.hotKeys->changeKeyboardMapping();
        QCOMPARE(refusals(), 1);
        QVERIFY(environment.hotKeys->registrations().isEmpty());
        QCOMPARE(problems.size(), 0);

        environment.hotKeys->releaseElsewhere(KeyM, Control | Option);
        environment.hotKeys->changeKeyboardMapping();
        QCOMPARE(environment.hotKeys->registrations().size(), 1);
        QVERIFY(controller().hasHotKeys());
        QVERIFY(environment.log.lines().contains(
            QStringLiteral("the hot key <⌃⌥M> for \"Menu Trigger\" works now")));
        QCOMPARE(recorder->registrationProblem(), QString());
        QCOMPARE(recorder->accessibleDescription(), QString());
        QCOMPARE(problems.size(), 1);
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));

        const QStringList titles = popUpTitlesDuring(
            [&] { environment.hotKeys->press(handleOf(MenuTrigger), Control | Option); });
        QVERIFY2(titles.contains(QStringLiteral("File")), qPrintable(titles.join(u'|')));
        controller().preferencesWindow()->close();
    }

    // Recording the refused combination again is how a user retries it by
    // hand: it is not refused as equal to the hot key it replaces.
    void recordingARefusedHotKeyAgainRetriesIt()
    {
        DispatchEnvironment environment;
        environment.hotKeys->holdElsewhere(KeyM, Control | Option);
        environment.storeHotKey(MenuTrigger, KeyM);
        environment.settings().setBool(true, StealthMode);
        launch();
        const std::shared_ptr<QXHotKey> stored = controller().hotKeyForIdentifier(MenuTrigger);
        QVERIFY(stored && !stored->isRegistered());

        const auto again = QXHotKey::hotKeyWithIdentifer(MenuTrigger, QStringLiteral("⌃⌥M"), KeyM,
                                                         Control | Option);
        QVERIFY(!again->testForDelegate(controller()));
        QCOMPARE(again->refusal(), platform::HotKeyRefusal::HeldElsewhere);
        environment.hotKeys->releaseElsewhere(KeyM, Control | Option);
        QVERIFY(again->testForDelegate(controller()));
        // The other recorder may not take it: it is this one's.
        const auto other = QXHotKey::hotKeyWithIdentifer(
            MenuTriggerAllApplications, QStringLiteral("⌃⌥M"), KeyM, Control | Option);
        QVERIFY(!other->testForDelegate(controller()));
        QVERIFY(!other->refusal());
    }

    void hotKeysAreKeptWhereTheDesktopHasNone()
    {
        DispatchEnvironment environment;
        platform::HotKeyService::setCurrent(std::make_unique<platform::MemoryHotKeyService>(false));
        environment.storeHotKey(MenuTrigger, KeyM);
        environment.settings().setBool(true, StealthMode);
        launch();
        QVERIFY(environment.settings().hasStoredValue(MenuTrigger));
        QVERIFY(!controller().hasHotKeys());
    }
};

TROVIX_TEST_MAIN_WITH(HotKeyDispatchTest, QXHotKeyHandlerApplication)

#include "hot_key_dispatch_test.moc"
