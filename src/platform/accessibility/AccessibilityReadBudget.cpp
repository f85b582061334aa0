#include "platform/accessibility/AccessibilityReadBudget.h"

#include <algorithm>

namespace platform {

namespace {

// Reads happen on the main thread only.
AccessibilityReadBudget* innermostBudget = nullptr;

} // namespace

AccessibilityReadBudget::AccessibilityReadBudget(qint64 milliseconds)
    : m_deadline(std::max<qint64>(milliseconds, 0)), m_outer(innermostBudget)
{
    innermostBudget = this;
}

AccessibilityReadBudget::~AccessibilityReadBudget()
{
    innermostBudget = m_outer;
}

QDeadlineTimer AccessibilityReadBudget::bound(QDeadlineTimer own)
{
    if (!innermostBudget) {
        return own;
    }
    return std::min(own, innermostBudget->m_deadline);
}

} // namespace platform
