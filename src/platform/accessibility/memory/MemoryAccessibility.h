#pragma once

#include "platform/accessibility/Accessibility.h"

#include <QHash>
#include <QJsonObject>
#include <QMultiHash>
#include <QSet>
#include <QStringList>
#include <memory>

namespace platform {

struct MemoryAccessibilityState;
class MemoryElement;

// Accessibility without a desktop: applications whose menu bars are built
// from the JSON menu descriptions the fixture applications use. The program
// sees only the Accessibility interface; tests script the tree and read what
// it cost through the control surface below.
//
// Each application's menu bar has the window menu at index 0 and the
// description's menus after it, like the AT-SPI backend's.
class MemoryAccessibility : public Accessibility
{
public:
    MemoryAccessibility();
    ~MemoryAccessibility() override;

    bool isTrusted(bool prompt) override;
    AccessibilityUnavailability unavailability() const override;
    AccessibilityElement systemWideElement() override;
    AccessibilityElement applicationElement(qint64 pid) override;
    quint64 timedOutRequests() const override;
    qint64 messagingTimeoutMs() const override;
    // Watchers are told synchronously when a test changes the menus (below),
    // adds the application again or removes it.
    std::shared_ptr<void> watchMenus(qint64 pid, std::function<void()> changed) override;
    // As set with setLacksAccessibilityBridge.
    bool lacksAccessibilityBridge(qint64 pid) override;

    // --- Control surface for tests and demos ---

    // Adds (or replaces) an application with the menu bar of a description:
    // {"name": ..., "toolkit": "qt" (the default) or "gtk", "menus":
    // [{"title": ..., "items": [...]}, ...]}. Items carry "title",
    // "separator", "enabled", "hidden", "check" ("checked", "unchecked",
    // "mixed"), "shortcut" (Qt text), "mnemonic" (the title's character that
    // Qt publishes as "Alt+" and the character where there is no shortcut),
    // "keyBinding" (the text the toolkit publishes, in its dialect, instead
    // of both), "items" (a submenu) and "alternateOf" (the title of the
    // preceding primary item).
    void addApplication(qint64 pid, const QJsonObject& description);
    // The same from a JSON file; false when it cannot be read.
    bool addApplicationFromFile(qint64 pid, const QString& path);
    // An application that is on the bus but has no menu bar (an agent).
    void addApplicationWithoutMenuBar(qint64 pid, const QString& name);
    void removeApplication(qint64 pid);
    // Marks a process as running a toolkit without its accessibility bridge
    // (add no application for it: such a process is on no bus).
    void setLacksAccessibilityBridge(qint64 pid, bool lacks = true);
    // Tells the watchers of the application's menus that they changed.
    void notifyMenusChanged(qint64 pid);
    // How many watches of the application's menus are live.
    int menuWatchCount(qint64 pid) const;

    // An element by titles: {} is the menu bar, {"File"} the menu bar item
    // File, {"File", "Open"} the item Open in File's menu. Null when absent.
    AccessibilityElement element(qint64 pid, const QStringList& titles) const;

    void setTrusted(bool trusted);
    // Whether asking with the prompt turns accessibility on.
    void setPromptGrantsTrust(bool grants);
    // What an untrusted program is told is missing or refusing (a refusing
    // accessibility bus unless set).
    void setUnavailability(const AccessibilityUnavailability& unavailability);
    int trustChecks() const;
    int prompts() const;
    void setSystemWideElementAvailable(bool available);
    // The timeout in force and every timeout set on the system-wide element.
    float messagingTimeout() const;
    QList<float> appliedMessagingTimeouts() const;

    // Delays in seconds: of every request, of every request to one
    // application, of every request to one element. A request that takes
    // longer than the messaging timeout reads as absent and counts as timed
    // out. Actions never wait: an element slower than the timeout performs
    // them as an item that opens a modal dialog does (answered Done), an
    // application slower than the timeout performs them unanswered.
    void setRequestDelay(double seconds);
    void setApplicationDelay(qint64 pid, double seconds);
    void setElementDelay(const AccessibilityElement& element, double seconds);
    // Really wait for delays (demos) instead of only counting them.
    void setSleepsForDelays(bool sleeps);
    // Makes one attribute of an element fail (it reads as absent), or one
    // action (it is sent, and the application answers that it refused).
    void failAttribute(const AccessibilityElement& element, const QString& name);
    // The element (and everything below it) answers `requests` more requests
    // and then vanishes.
    void vanishElement(const AccessibilityElement& element, int requests = 0);

    // Hostile shapes. A menu element that claims count children in all
    // (made-up items after its own); an element listed once more below
    // another, which makes the tree loop when parent lies below it.
    void setClaimedChildCount(const AccessibilityElement& menu, qint64 count);
    void addChildElement(const AccessibilityElement& parent, const AccessibilityElement& child);

    // What every element of this backend shares (clock, counters, timeout):
    // elements a test builds by hand join the backend through it.
    std::shared_ptr<MemoryAccessibilityState> sharedState() const { return m_state; }

    int requestCount() const;
    int requestCount(const QString& attributeOrAction) const;
    // Seconds the requests so far would have taken.
    double elapsedSeconds() const;
    // Clears the request counters, the clock and the pressed items; the count
    // of timed-out requests only grows, as readers compare it over time.
    void resetCounters();
    // The items pressed so far, as title paths "File > Open".
    QStringList pressedItems() const;

private:
    struct Application;
    struct MenuWatch;
    QMultiHash<qint64, std::weak_ptr<MenuWatch>> m_menuWatches;
    std::shared_ptr<MemoryAccessibilityState> m_state;
    std::shared_ptr<MemoryElement> m_systemWide;
    QHash<qint64, std::shared_ptr<Application>> m_applications;
    QSet<qint64> m_withoutBridge;
    bool m_trusted = true;
    bool m_promptGrants = false;
    AccessibilityUnavailability m_unavailability{AccessibilityUnavailability::Reason::Refused,
                                                 QStringLiteral("the accessibility bus"),
                                                 QString()};
    bool m_systemWideAvailable = true;
    int m_trustChecks = 0;
    int m_prompts = 0;
};

} // namespace platform
