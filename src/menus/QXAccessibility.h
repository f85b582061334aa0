#pragma once

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityElement.h"

#include <QString>
#include <QVariant>
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

// Bounds a run of reads from an application that stops answering to one
// messaging timeout: while a guard lives, the first read that times out
// makes every later read through QXCopyAttribute answer absent at once.
// Guards nest; reads outside any guard always ask.
class QXAccessibilityStallGuard
{
public:
    QXAccessibilityStallGuard();
    ~QXAccessibilityStallGuard();
    QXAccessibilityStallGuard(const QXAccessibilityStallGuard&) = delete;
    QXAccessibilityStallGuard& operator=(const QXAccessibilityStallGuard&) = delete;

    // Whether a read since the guard was made ran into the timeout.
    bool hasStalled() const;

private:
    quint64 m_timedOutAtStart;
    QXAccessibilityStallGuard* m_outer;
};

// The top-level items of an application's menu bar in menu bar order (index 0
// the system menu, index 1 the application menu); nothing for a null
// application, one not on the accessibility bus, or one without a menu bar.
std::optional<platform::AccessibilityElementList>
QXMenuBarItemsForApplication(const platform::RunningApplication& application);

// Whether the few drawn images on menu items are wanted: the inverse of
// "Disable Menu Item Images".
bool QXMenuItemImagesEnabled();
