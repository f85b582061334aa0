#pragma once

#include "menus/QXMenuReadAhead.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityElement.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace platform {
class RunningApplication;
}

// The thin layer every reading of another application's menus goes through.
// Every accessibility error reads as an absent value; nothing is logged or
// retried. Main thread only.

// Whether the program may read other applications; with prompt, an untrusted
// program asks for accessibility to be turned on.
bool QXAccessibilityIsTrusted(bool prompt);

// Checks trust (with the prompt) and, the first time it succeeds in a run,
// applies the messaging timeout. Answers whether the program is trusted.
bool QXAccessibilityPrepare();

// The messaging timeout in seconds from "Accessibility API Timeout": values
// above 0.009 as they are, anything else (missing included) 1.0.
float QXAccessibilityMessagingTimeout();

// After QXAccessibilityPrepare answered false: what is missing or refuses,
// and how the user gets it going.
platform::AccessibilityUnavailability QXAccessibilityUnavailability();

// Makes the timeout the default of every later accessibility request.
void QXAccessibilitySetGlobalMessagingTimeout(float seconds);

// One attribute of an element; nothing for a null element, an empty name or
// any error, and nothing without asking once a stall guard has seen its
// application stop answering.
std::optional<QVariant> QXCopyAttribute(const platform::AccessibilityElement& element,
                                        const QString& attribute);
// The same for a list attribute read a run at a time: its length, and up to
// maxValues values from index on (an element list).
std::optional<qint64> QXAttributeValueCount(const platform::AccessibilityElement& element,
                                            const QString& attribute);
std::optional<QVariant> QXCopyAttributeValues(const platform::AccessibilityElement& element,
                                              const QString& attribute, qint64 index,
                                              qint64 maxValues);

// Bounds the reads from other applications while a guard lives.
//
// A stall: the first read that times out makes every later read through
// QXCopyAttribute answer absent at once, until the innermost guard alive
// ends. Guards nest; reads outside any guard always ask.
//
// A deadline per application: the reads of one application may take at
// most twice the messaging timeout altogether, counted from its first read
// (an application that answers just under the timeout would otherwise cost
// almost a timeout per read). Past it, every later read of that application
// answers absent at once and what was read stays; this is logged once per
// application. A guard made with Deadlines::Own starts afresh for every
// application (one pop-up, one list of search results) and only does that:
// reads directly under it are not cut off by a stall. Any other guard shares
// the deadlines of the guard it is nested in. Only the time spent
// reading counts: a pop-up that stays open while the user looks costs
// nothing.
class QXAccessibilityStallGuard
{
public:
    enum class Deadlines
    {
        Shared,
        Own
    };

    explicit QXAccessibilityStallGuard(Deadlines deadlines = Deadlines::Shared);
    // What the reads under a guard have cost each application so far: a
    // later guard made with it goes on counting against the same deadlines
    // (a long menu read a screenful at a time over several turns of the
    // event loop takes no more than one read would).
    class Account
    {
    public:
        Account() = default;

    private:
        friend class QXAccessibilityStallGuard;
        std::shared_ptr<void> m_deadlines;
    };
    Account account() const;
    explicit QXAccessibilityStallGuard(const Account& account);
    ~QXAccessibilityStallGuard();
    QXAccessibilityStallGuard(const QXAccessibilityStallGuard&) = delete;
    QXAccessibilityStallGuard& operator=(const QXAccessibilityStallGuard&) = delete;

    // Whether a read since the guard was made ran into the timeout.
    bool hasStalled() const;
    // Whether the application's reads ran past its deadline.
    bool hasRunPastDeadline(qint64 pid) const;

    // The guard the reads are counted in (the innermost one), or nothing.
    static QXAccessibilityStallGuard* current();

    // Reads one attribute under the guard: absent at once after a stall or
    // past the application's deadline, else asked and its time counted.
    std::optional<QVariant> copyAttribute(const platform::AccessibilityElement& element,
                                          const QString& attribute);
    std::optional<qint64> attributeValueCount(const platform::AccessibilityElement& element,
                                              const QString& attribute);
    std::optional<QVariant> copyAttributeValues(const platform::AccessibilityElement& element,
                                                const QString& attribute, qint64 index,
                                                qint64 maxValues);

private:
    struct ApplicationDeadlines;
    // Runs read (one attribute read of element) under the guard.
    template <typename Value>
    std::optional<Value> guarded(const platform::AccessibilityElement& element,
                                 const std::function<std::optional<Value>()>& read);
    quint64 m_timedOutAtStart;
    QXAccessibilityStallGuard* m_outer;
    bool m_bindsStalls;
    std::shared_ptr<ApplicationDeadlines> m_deadlines;
};

// What the reads of one application may take altogether within one guard
// with its own deadlines: twice the messaging timeout, in milliseconds.
qint64 QXAccessibilityApplicationDeadlineMs();

// The top-level items of an application's menu bar in menu bar order (index 0
// the system menu, index 1 the application menu); nothing for a null
// application, one not on the accessibility bus, or one without a menu bar.
// A menu bar read ahead and kept answers from memory, as freshness says
// where the application does not tell about changes to its menus.
std::optional<platform::AccessibilityElementList> QXMenuBarItemsForApplication(
    const platform::RunningApplication& application,
    QXMenuReadAhead::Freshness freshness = QXMenuReadAhead::Freshness::AskedAgain);

// Whether the few drawn images on menu items are wanted: the inverse of
// "Disable Menu Item Images".
bool QXMenuItemImagesEnabled();
