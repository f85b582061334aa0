#pragma once

#include <QDeadlineTimer>

namespace platform {

// What is left of the time the caller allows for the attribute being read.
// Most attributes are one request, bounded by the messaging timeout; a few
// take a run of requests (a menu's children, the search for a menu bar) and
// bound that run themselves. While a budget lives, such a run also stops
// when the budget is spent, so that a caller counting its own time (one
// deadline per application in a pop-up) is not overrun by a single read.
// Budgets nest; the innermost one holds.
class AccessibilityReadBudget
{
public:
    explicit AccessibilityReadBudget(qint64 milliseconds);
    ~AccessibilityReadBudget();
    AccessibilityReadBudget(const AccessibilityReadBudget&) = delete;
    AccessibilityReadBudget& operator=(const AccessibilityReadBudget&) = delete;

    // The earlier of own and the innermost budget's end; own alone when no
    // budget lives.
    static QDeadlineTimer bound(QDeadlineTimer own);

private:
    QDeadlineTimer m_deadline;
    AccessibilityReadBudget* m_outer;
};

} // namespace platform
