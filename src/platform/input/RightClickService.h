#pragma once

#include "platform/input/Event.h"
#include "platform/input/ModifierFlags.h"

#include <functional>
#include <memory>

namespace platform {

// Right clicks made anywhere on the desktop while a chosen modifier is held,
// taken before any application sees them. Right clicks without the modifier
// are left to the applications untouched and undelayed.
class RightClickService
{
public:
    // Receives each taken click as a RightMouseDown event with the held
    // modifiers and the screen location, on the main thread, from the event loop.
    using Handler = std::function<void(const Event&)>;

    virtual ~RightClickService();

    // The process-wide service: the X11 one when the application runs on an X
    // server, else one that is not available and refuses to start.
    static RightClickService& current();
    // Replaces the process-wide service (tests install the memory one); an
    // empty pointer restores the default. A running service is stopped.
    static void setCurrent(std::unique_ptr<RightClickService> service);

    // Starts taking right clicks made with the modifier (one of Option,
    // Control, Command, Function) held alone or together with Shift, whatever
    // lock keys are on; a running service switches to the new modifier.
    // Answers false, and takes nothing, when the desktop refuses: another
    // program holds those clicks or no key maps the modifier.
    virtual bool start(ModifierFlags modifier, Handler handler) = 0;
    // Leaves every right click to the applications again.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;

protected:
    RightClickService() = default;
    RightClickService(const RightClickService&) = delete;
    RightClickService& operator=(const RightClickService&) = delete;
};

} // namespace platform
