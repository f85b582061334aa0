#pragma once

#include <QApplication>

class QXApplicationDelegate;

// The program's application object. It drives its delegate through the
// launch sequence and the other life-cycle callbacks, and is where global
// events reach the program.
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

private:
    QXApplicationDelegate* m_delegate = nullptr;
    quint64 m_eventSerial = 0;
};
