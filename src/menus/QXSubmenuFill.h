#pragma once

#include "menus/QXAccessibility.h"
#include "platform/accessibility/AccessibilityElement.h"

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <optional>

namespace platform {
class Menu;
}

// Reads the entries of another application's submenu into a menu of the
// pop-up.
//
// A menu that is not open is filled whole at once. An open one gets its
// first screenful at once and the rest a run at a time from the event loop,
// each run appended and shown as it comes, so that a menu of thousands of
// entries opens as fast as a short one and the pop-up stays responsive
// meanwhile. All runs together keep to the application's deadline of the
// read that started the fill. The first read that times out ends the fill
// with what was read before; a fill cut short by the deadline or by the most
// entries a menu shows ends with a disabled "%1 more items not shown".
//
// The fill must not outlive the menu; destroying it stops the runs to come.
// Main thread only.
class QXSubmenuFill
{
public:
    QXSubmenuFill(platform::AccessibilityElement submenu, platform::Menu& menu);
    ~QXSubmenuFill();
    QXSubmenuFill(const QXSubmenuFill&) = delete;
    QXSubmenuFill& operator=(const QXSubmenuFill&) = delete;

    // Reads the first screenful (the whole menu when it is not open) under
    // the guard in force; answers whether more is to come from the event
    // loop.
    bool start();
    // Whether runs are still to come.
    bool isUnderWay() const { return m_underWay; }

    // Entries read at once when the menu opens, and the time one later run
    // may take before the event loop turns again.
    static constexpr qint64 FirstScreenful = 40;
    static constexpr qint64 RunMs = 25;

private:
    enum class Outcome
    {
        More,
        Done,
        Stalled,
        OutOfTime
    };
    // Reads entries until all are read, the menu holds at least minimumItems
    // items, or the slice (when given) has run out.
    Outcome read(std::optional<qint64> minimumItems, const QElapsedTimer* slice);
    void finish(Outcome outcome);
    void continueLater();

    platform::AccessibilityElement m_submenu;
    platform::Menu& m_menu;
    std::optional<qint64> m_pid;
    // The entries to read, the next one, and those the backend left out.
    qint64 m_count = 0;
    qint64 m_next = 0;
    qint64 m_omitted = 0;
    // A separator held back at the end of a run: it is shown only when an
    // item follows it.
    bool m_separatorPending = false;
    bool m_underWay = false;
    QXAccessibilityStallGuard::Account m_account;
    std::unique_ptr<QObject> m_timers;
};
