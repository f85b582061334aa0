#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace platform {

// Where the desktop's active window is learnt from, whatever the display
// protocol: a stream of window activation events and the requests that
// complete them. Events and answers arrive on the main thread, each answer
// once, never from inside the call that asked for it.
class ActiveWindowSource
{
public:
    // A window as the source knows it: its application (by the name the
    // source gives it) and the window object's path in that application.
    struct Window
    {
        QString application;
        QString path;
        bool operator==(const Window&) const = default;
    };

    struct Event
    {
        Window window;
        bool active = false;
        // The event may come from an object that is no window (the active
        // state is also given to elements inside a window): whether it is
        // one must be asked before the event counts.
        bool mayBeOtherObject = false;
    };

    // The window found active by a scan, with its application's process.
    struct ActiveWindow
    {
        Window window;
        qint64 pid = 0;
    };

    virtual ~ActiveWindowSource() = default;

    // Starts delivering events to handler; false when none can be had.
    virtual bool listen(std::function<void(const Event&)> handler) = 0;
    // Asks for the process of an application; nothing when it is unknown.
    virtual void askProcess(const QString& application,
                            std::function<void(std::optional<qint64>)> answer) = 0;
    // Asks whether an object is a top-level window (frame, dialog, window,
    // alert); nothing when the application does not tell.
    virtual void askIsWindow(const Window& window,
                             std::function<void(std::optional<bool>)> answer) = 0;
    // Looks through every application's top-level windows for the active
    // one. Waits for the answers, each bounded by the messaging timeout.
    virtual std::optional<ActiveWindow> scan() = 0;
};

} // namespace platform
