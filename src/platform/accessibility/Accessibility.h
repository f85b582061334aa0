#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/MenuBarRead.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuTreeRead.h"

#include <QString>
#include <functional>
#include <memory>

namespace platform {

// Why other applications cannot be read, in words for the user.
struct AccessibilityUnavailability
{
    enum class Reason
    {
        // Nothing known: the program may read other applications, or has not
        // asked yet.
        Unknown,
        // A part of the desktop that accessibility needs is not there.
        Missing,
        // That part is there but does not let the program in.
        Refused
    };

    Reason reason = Reason::Unknown;
    // The part that is missing or refuses, as a noun phrase for a sentence
    // ("the accessibility bus").
    QString component;
    // What the user can do to get it, as whole sentences.
    QString remedy;
};

// The way into other applications' user interfaces: the trust check, the
// system-wide element (which carries the messaging timeout) and one element
// per application.
class Accessibility
{
public:
    virtual ~Accessibility() = default;

    // The process-wide instance: the AT-SPI one unless another was installed.
    static Accessibility& current();
    // Replaces the process-wide instance (tests install the memory one).
    static void setCurrent(std::unique_ptr<Accessibility> accessibility);

    // Whether other applications can be read. With prompt, an untrusted
    // program asks the desktop to turn accessibility on and tells the user
    // what that means.
    virtual bool isTrusted(bool prompt) = 0;
    // After isTrusted answered false: what is missing or refuses and how
    // the user gets it going.
    virtual AccessibilityUnavailability unavailability() const = 0;
    // The element that stands for the whole desktop; null when there is none.
    virtual AccessibilityElement systemWideElement() = 0;
    // The element of the application with that process identifier; null when
    // the application is not known to the accessibility bus.
    virtual AccessibilityElement applicationElement(qint64 pid) = 0;
    // How many requests so far went unanswered within the messaging timeout.
    // An absent value alone does not tell a missing attribute from an
    // application that stopped answering; a reader that compares this count
    // before and after its reads does.
    virtual quint64 timedOutRequests() const = 0;
    // The messaging timeout in force, in milliseconds.
    virtual qint64 messagingTimeoutMs() const = 0;
    // The whole menu tree of the application with that process identifier,
    // at most maxItems items, in the cheapest way the application offers;
    // item by item through applicationElement() unless a backend knows
    // better. Stops at the first request that runs into the timeout, and
    // once its slow requests took twice the messaging timeout.
    virtual MenuTree menuTree(qint64 pid, int maxItems);
    // Starts reading the same tree without blocking: the items arrive while
    // the caller's event loop runs. Unless a backend knows better, the tree
    // is read with menuTree() on the next pass of the event loop.
    virtual std::unique_ptr<MenuTreeRead> startMenuTreeRead(qint64 pid, int maxItems);
    // Starts reading the application's menu bar ahead of a pop-up, to be
    // kept (see MenuBarRead); previous, when given, is an earlier read of
    // the same application whose findings may save requests. Unless a
    // backend knows better, it is read through applicationElement() on the
    // next pass of the event loop.
    virtual std::unique_ptr<MenuBarRead> startMenuBarRead(qint64 pid, const MenuBarReadDepth& depth,
                                                          const MenuBarRead* previous = nullptr);
    // Calls changed once, on the main thread, when the menus of the
    // application with that process identifier may have changed or the
    // application has quit. The watch ends when the returned handle is
    // destroyed. Null when the backend cannot tell: then nobody may keep a
    // tree of that application.
    virtual std::shared_ptr<void> watchMenus(qint64 pid, std::function<void()> changed);

    // Whether the application with that process identifier runs a toolkit
    // that publishes nothing until its accessibility bridge is loaded into
    // it, and runs without that bridge: it stays off the bus, or without a
    // menu bar, until it is started again with the bridge. Asks nothing of
    // the application. False where the backend cannot tell.
    virtual bool lacksAccessibilityBridge(qint64 pid);
};

} // namespace platform
