#include "hotkeys/QXHotKeyHandlerApplication.h"

#include "hotkeys/QXApplicationDelegate.h"
#include "hotkeys/QXHotKeyHandler.h"
#include "hotkeys/QXHotKeyTextView.h"
#include "platform/input/HotKeyService.h"
#include "platform/input/ModifierKeyState.h"
#include "platform/input/VirtualKeyCodes.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>

namespace {

// How long a held hot key waits before it starts repeating.
constexpr int repetitionDelayMilliseconds = 500;

double secondsNow()
{
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

QPointer<QXHotKeyTextView>& recordingTextView()
{
    static QPointer<QXHotKeyTextView> textView;
    return textView;
}

// The text a printable key types without modifiers other than Shift.
QString textIgnoringModifiers(const QKeyEvent& keyEvent)
{
    const int key = keyEvent.key();
    if (key < Qt::Key_Space || key > Qt::Key_ydiaeresis) {
        return keyEvent.text();
    }
    const QChar character(key);
    return (keyEvent.modifiers() & Qt::ShiftModifier) ? QString(character.toUpper())
                                                      : QString(character.toLower());
}

// A window the user sees and can switch to: shown, not minimised (on a
// desktop without a taskbar nothing would bring it back), and neither a
// pop-up, a tool tip nor a window the window manager leaves alone (the tray
// icon is one).
bool isVisibleWindow(const QWidget* widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && widget->isVisible() && !widget->isMinimized() &&
           (type == Qt::Window || type == Qt::Dialog) &&
           !widget->windowFlags().testFlag(Qt::X11BypassWindowManagerHint);
}

} // namespace

platform::Event QXHotKeyHandlerApplication::eventForKeyEvent(const QKeyEvent& keyEvent)
{
    platform::Event event;
    event.type = platform::Event::Type::KeyDown;
    event.isARepeat = keyEvent.isAutoRepeat();
    const quint32 scanCode = keyEvent.nativeScanCode();
    if (scanCode > 0 && scanCode < 256) {
        event.keyCode = platform::virtualKeyCodeForXKeycode(quint8(scanCode))
                            .value_or(platform::Event::NoKeyCode);
    }
    const Qt::KeyboardModifiers modifiers = keyEvent.modifiers();
    platform::ModifierFlags flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= platform::ModifierFlag::Shift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= platform::ModifierFlag::Control;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= platform::ModifierFlag::Option;
    }
    if (modifiers & Qt::MetaModifier) {
        flags |= platform::ModifierFlag::Command;
    }
    if (event.keyCode != platform::Event::NoKeyCode) {
        flags |= platform::intrinsicModifierFlagsForKeyCode(event.keyCode);
    }
    // Caps Lock and the left/right bits, which Qt's modifiers do not tell.
    event.modifierFlags =
        platform::ModifierKeyState::current().completedFlags(flags, keyEvent.nativeModifiers());
    event.characters = keyEvent.text();
    event.charactersIgnoringModifiers = textIgnoringModifiers(keyEvent);
    event.timestamp = static_cast<double>(keyEvent.timestamp()) / 1000.0;
    return event;
}

QXHotKeyTextView* QXHotKeyHandlerApplication::recordingHotKeyTextView()
{
    return recordingTextView().data();
}

void QXHotKeyHandlerApplication::setRecordingHotKeyTextView(QXHotKeyTextView* textView)
{
    recordingTextView() = textView;
}

QXHotKeyHandlerApplication::QXHotKeyHandlerApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    connect(this, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && m_delegate != nullptr) {
                    m_delegate->applicationDidResignActive();
                }
            });
    m_repetitionTimer.setSingleShot(true);
    connect(&m_repetitionTimer, &QTimer::timeout, this, &QXHotKeyHandlerApplication::repeatEvent);
    platform::HotKeyService::setEventHandler(
        [this](const platform::Event& event) { sendEvent(event); });
}

QXHotKeyHandlerApplication::~QXHotKeyHandlerApplication()
{
    platform::HotKeyService::setEventHandler(nullptr);
}

QXHotKeyHandlerApplication* QXHotKeyHandlerApplication::sharedApplication()
{
    return qobject_cast<QXHotKeyHandlerApplication*>(QCoreApplication::instance());
}

int QXHotKeyHandlerApplication::run()
{
    if (m_delegate != nullptr) {
        m_delegate->applicationWillFinishLaunching();
        QTimer::singleShot(0, this, [this] {
            if (m_delegate != nullptr) {
                m_delegate->applicationDidFinishLaunching();
            }
        });
    }
    return exec();
}

void QXHotKeyHandlerApplication::terminate()
{
    if (m_delegate != nullptr &&
        m_delegate->applicationShouldTerminate() == QXApplicationDelegate::TerminateReply::Cancel) {
        return;
    }
    quit();
}

void QXHotKeyHandlerApplication::handleReopen()
{
    if (m_delegate == nullptr) {
        return;
    }
    const QWidgetList widgets = topLevelWidgets();
    const bool hasVisibleWindows = std::any_of(widgets.cbegin(), widgets.cend(), isVisibleWindow);
    m_delegate->applicationShouldHandleReopen(hasVisibleWindows);
}

bool QXHotKeyHandlerApplication::notify(QObject* receiver, QEvent* event)
{
    // Each event from the window system starts a new one; events sent while
    // it is handled belong to it.
    if (event->spontaneous()) {
        ++m_eventSerial;
        if (event->type() == QEvent::KeyPress &&
            sendEvent(eventForKeyEvent(*static_cast<QKeyEvent*>(event)))) {
            return true;
        }
    }
    return QApplication::notify(receiver, event);
}

bool QXHotKeyHandlerApplication::sendEvent(const platform::Event& event)
{
    using Type = platform::Event::Type;
    QXHotKeyTextView* recorder = recordingHotKeyTextView();
    switch (event.type) {
    case Type::KeyDown:
        // A recording field takes every key press itself.
        return recorder == nullptr && handleKeyDownEvent(&event, false);
    case Type::SystemDefined:
        if (recorder != nullptr && event.subtype == platform::Event::HotKeyPressedSubtype) {
            recorder->recordHotKeyPress(event);
            return true;
        }
        if (event.subtype == platform::Event::HotKeyReleasedSubtype) {
            triggerRepetitionForSystemDefinedEvent(nullptr, 0);
            return true;
        }
        if (event.subtype == platform::Event::HotKeyPressedSubtype) {
            return handleKeyDownEvent(&event, true);
        }
        return false;
    default:
        // Clicks on the tray icon and scrolling over a hot key recorder are
        // left to Qt: the tray menu rebuilds itself as it opens, and an
        // ignored wheel event already goes on to the surrounding view.
        return false;
    }
}

bool QXHotKeyHandlerApplication::handleKeyDownEvent(const platform::Event* event,
                                                    bool triggerRepetition)
{
    if (event == nullptr) {
        return false;
    }
    auto* handler = dynamic_cast<QXHotKeyHandler*>(m_delegate);
    if (handler == nullptr) {
        return false;
    }
    bool repeat = false;
    if (!handler->handleKeyDownEvent(*event, &repeat)) {
        return false;
    }
    if (triggerRepetition && repeat) {
        triggerRepetitionForSystemDefinedEvent(event, secondsNow());
    } else {
        triggerRepetitionForSystemDefinedEvent(nullptr, 0);
    }
    return true;
}

void QXHotKeyHandlerApplication::triggerRepetitionForSystemDefinedEvent(
    const platform::Event* event, double referenceTimestamp)
{
    m_repetitionTimer.stop();
    if (event == nullptr) {
        m_eventToRepeat.reset();
        return;
    }
    m_eventToRepeat = *event;
    const double elapsed = secondsNow() - referenceTimestamp;
    m_repetitionTimer.start(
        std::max(0, repetitionDelayMilliseconds - static_cast<int>(elapsed * 1000)));
}

void QXHotKeyHandlerApplication::repeatEvent()
{
    auto* handler = dynamic_cast<QXHotKeyHandler*>(m_delegate);
    if (!m_eventToRepeat || handler == nullptr) {
        m_eventToRepeat.reset();
        return;
    }
    const platform::Event event = *m_eventToRepeat;
    bool repeat = false;
    if (!handler->handleKeyDownEvent(event, &repeat) || !repeat || !m_eventToRepeat) {
        m_eventToRepeat.reset();
        return;
    }
    const int rate = std::max(1, styleHints()->keyboardAutoRepeatRate());
    m_repetitionTimer.start(1000 / rate);
}
