#pragma once

#include "platform/input/Event.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <optional>

class QKeyEvent;
class QXApplicationDelegate;
class QXHotKeyTextView;

// The program's application object. It drives its delegate through the
// launch sequence and the other life-cycle callbacks, and is where global
// events reach the program: presses and releases of the hot keys come from
// the hot key service, and key presses of the program's own windows are
// looked at before Qt dispatches them, so that a hot key pressed while a menu
// of the program holds the keyboard is taken too.
class QXHotKeyHandlerApplication : public QApplication
{
    Q_OBJECT

public:
    QXHotKeyHandlerApplication(int& argc, char** argv);
    ~QXHotKeyHandlerApplication() override;

    static QXHotKeyHandlerApplication* sharedApplication();

    void setDelegate(QXApplicationDelegate* delegate) { m_delegate = delegate; }
    QXApplicationDelegate* delegate() const { return m_delegate; }

    // Runs the launch callbacks (the second in the first event-loop pass)
    // and the event loop; answers the exit status.
    int run();

    // Asks the delegate, then quits the event loop when it agrees.
    void terminate();

    // A reopen request from another start of the program.
    void handleReopen();

    // Identifies the event being dispatched now: menus that rebuild once per
    // event compare these.
    quint64 currentEventSerial() const { return m_eventSerial; }

    bool notify(QObject* receiver, QEvent* event) override;

    // QCoreApplication's sendEvent stays reachable beside the event filter.
    using QApplication::sendEvent;
    // The event filter. Takes out hot key presses (and key presses matching
    // a hot key) for the delegate, and hot key releases; answers whether the
    // event was consumed. Events it does not consume take their normal way.
    bool sendEvent(const platform::Event& event);
    // Hands a press to the delegate when it is a hot key handler; with
    // triggerRepetition the press repeats while the delegate asks for it.
    // Answers whether the delegate handled it.
    bool handleKeyDownEvent(const platform::Event* event, bool triggerRepetition);
    // Repeats the event while its key is held; none ends any repetition.
    void triggerRepetitionForSystemDefinedEvent(const platform::Event* event,
                                                double referenceTimestamp);
    const std::optional<platform::Event>& eventToRepeat() const { return m_eventToRepeat; }

    // The hot key field that is recording now, or none. While one records,
    // key presses go to it rather than to the hot key handler, and presses
    // of registered hot keys are handed to it as recorded keys.
    static QXHotKeyTextView* recordingHotKeyTextView();
    static void setRecordingHotKeyTextView(QXHotKeyTextView* textView);

    // A key press of one of the program's own windows as the program's key
    // event: virtual key code from the X keycode, modifier flags with Caps
    // Lock and the left/right bits, texts.
    static platform::Event eventForKeyEvent(const QKeyEvent& keyEvent);
    void setEventToRepeat(const std::optional<platform::Event>& event) { m_eventToRepeat = event; }

private:
    void repeatEvent();

    QXApplicationDelegate* m_delegate = nullptr;
    quint64 m_eventSerial = 0;
    std::optional<platform::Event> m_eventToRepeat;
    QTimer m_repetitionTimer;
};
