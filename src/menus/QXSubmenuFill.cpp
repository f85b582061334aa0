#include "menus/QXSubmenuFill.h"

#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/menus/Menu.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

namespace ax = platform::accessibility;
using platform::AccessibilityElementList;
using platform::MenuItem;

namespace {

// Entries asked for together: a short run of requests between checks of
// the deadline and of the time a run may take.
constexpr qint64 EntriesPerRequestRun = 10;

} // namespace

QXSubmenuFill::QXSubmenuFill(platform::AccessibilityElement submenu, platform::Menu& menu)
    : m_submenu(std::move(submenu)), m_menu(menu), m_pid(m_submenu.pid()),
      m_timers(std::make_unique<QObject>())
{}

QXSubmenuFill::~QXSubmenuFill() = default;

bool QXSubmenuFill::start()
{
    // The reads share the deadlines of the guard in force (one pop-up), or
    // start their own; later runs go on counting in the same.
    const QXAccessibilityStallGuard guard;
    m_account = guard.account();
    const std::optional<qint64> count = QXAttributeValueCount(m_submenu, ax::ChildrenAttribute);
    if (!count || *count <= 0) {
        finish(guard.hasStalled() ? Outcome::Stalled : Outcome::Done);
        return false;
    }
    m_count = std::min<qint64>(*count, ax::MaximumMenuChildren);
    // What the backend left out is known to it without asking the
    // application, so it is asked directly: past the application's deadline
    // the guarded reads answer nothing.
    m_omitted =
        (*count - m_count) + qMax<qint64>(m_submenu.copyAttribute(ax::OmittedChildCountAttribute)
                                              .value_or(QVariant())
                                              .toLongLong(),
                                          0);
    const Outcome outcome =
        read(m_menu.isOpen() ? std::optional<qint64>(FirstScreenful) : std::nullopt, nullptr);
    if (outcome == Outcome::More) {
        m_underWay = true;
        continueLater();
        return true;
    }
    finish(outcome);
    return false;
}

QXSubmenuFill::Outcome QXSubmenuFill::read(std::optional<qint64> minimumItems,
                                           const QElapsedTimer* slice)
{
    const QXAccessibilityStallGuard guard(m_account);
    const auto outOfTime = [&] { return m_pid && guard.hasRunPastDeadline(*m_pid); };
    if (m_separatorPending) {
        m_menu.addSeparatorIfNecessary();
        m_separatorPending = false;
    }
    Outcome outcome = Outcome::Done;
    while (m_next < m_count) {
        if ((minimumItems && m_menu.numberOfItems() >= *minimumItems) ||
            (slice && slice->elapsed() >= RunMs)) {
            outcome = Outcome::More;
            break;
        }
        const qint64 wanted = std::min(EntriesPerRequestRun, m_count - m_next);
        const AccessibilityElementList entries = platform::accessibilityElementListFromVariant(
            QXCopyAttributeValues(m_submenu, ax::ChildrenAttribute, m_next, wanted)
                .value_or(QVariant()));
        if (guard.hasStalled()) {
            outcome = Outcome::Stalled;
            break;
        }
        if (outOfTime()) {
            outcome = Outcome::OutOfTime;
            break;
        }
        qint64 done = 0;
        for (const platform::AccessibilityElement& entry : entries) {
            const qsizetype itemsBefore = m_menu.numberOfItems();
            QXProxyMenuItem::addMenuItemWithUIElement(entry, m_menu, MenuItem::MaxTag, true,
                                                      QXProxyMenuItem::FastTrack());
            // Past the application's deadline its reads answer nothing: the
            // item being read is as incomplete (a wrong state, a missing
            // submenu, no title at all) as one read when the application
            // stopped answering.
            const bool stalled = guard.hasStalled();
            if (stalled || outOfTime()) {
                while (m_menu.numberOfItems() > itemsBefore) {
                    m_menu.removeItemAtIndex(m_menu.numberOfItems() - 1);
                }
                m_next += done;
                outcome = stalled ? Outcome::Stalled : Outcome::OutOfTime;
                break;
            }
            ++done;
        }
        if (outcome != Outcome::Done) {
            break;
        }
        // Entries the application no longer has are skipped: the run counts
        // as read.
        m_next += wanted;
    }
    // A separator at the end of a run is shown only once an item follows.
    while (!m_menu.isEmpty() && m_menu.lastItem()->isSeparatorItem()) {
        m_menu.removeItemAtIndex(m_menu.numberOfItems() - 1);
        m_separatorPending = outcome == Outcome::More;
    }
    return outcome;
}

void QXSubmenuFill::finish(Outcome outcome)
{
    m_underWay = false;
    m_separatorPending = false;
    // An application that ran out of time answered for some entries only:
    // the others are counted as not shown. One that stopped answering
    // altogether gets no such line; what it said before may be stale.
    if (outcome == Outcome::Stalled) {
        return;
    }
    const qint64 omitted = m_omitted + (m_count - m_next);
    if (omitted > 0) {
        MenuItem* more = m_menu.addItem(
            QCoreApplication::translate("Trovix", "%1 more items not shown").arg(omitted));
        more->setEnabled(false);
    }
}

void QXSubmenuFill::continueLater()
{
    QTimer::singleShot(0, m_timers.get(), [this] {
        QElapsedTimer slice;
        slice.start();
        const Outcome outcome = read(std::nullopt, &slice);
        if (outcome == Outcome::More) {
            m_menu.itemsAppended();
            continueLater();
            return;
        }
        finish(outcome);
        m_menu.itemsAppended();
    });
}
