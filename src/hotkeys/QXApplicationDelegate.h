#pragma once

// What the application object tells its delegate about the program's life.
class QXApplicationDelegate
{
public:
    enum class TerminateReply
    {
        Now,
        Cancel
    };

    virtual ~QXApplicationDelegate() = default;

    virtual void applicationWillFinishLaunching() = 0;
    virtual void applicationDidFinishLaunching() = 0;
    virtual void applicationDidResignActive() = 0;
    // Another start of the program asked this one to reopen. Answers whether
    // the application should do its own default handling (it has none here).
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) = 0;
    virtual TerminateReply applicationShouldTerminate() = 0;
};
