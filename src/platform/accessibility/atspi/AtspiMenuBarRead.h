#pragma once

#include "platform/accessibility/MenuBarRead.h"
#include "platform/accessibility/atspi/AtspiMenuTreeRead.h"

#include <QString>
#include <memory>

namespace platform::atspi {

// A menu bar read ahead over the accessibility bus without waiting for any
// reply (see AtspiMenuTreeRead's MenuBarAhead), kept as a menu snapshot: the
// menu bar it finishes with answers like "AXWholeMenuBar" does, from what
// was read, and reads the menus that were not read when they are opened.
class AtspiMenuBarRead : public MenuBarRead
{
public:
    // An empty bus name finishes with no menu bar on the next pass of the
    // event loop.
    AtspiMenuBarRead(const QString& busName, qint64 pid, const MenuBarReadDepth& depth,
                     std::optional<AtspiMenuTreeRead::MenuBarHint> hint = {});

    // Where this read found the menu bar, for a later read of the same
    // application (known by its bus name).
    std::optional<AtspiMenuTreeRead::MenuBarHint> hint(const QString& busName) const;

    AccessibilityElement menuBarForPopUp() const override;
    AccessibilityElement menuBarAsRead() const override;
    bool isShownAsRead() const override;
    bool readSameMenusAs(const MenuBarRead& earlier) const override;

private:
    void treeRead();
    // The menu bar on a copy of what was read, its entries asked again or
    // shown as read (where the application does not tell about changes).
    AccessibilityElement popUpCopy(bool askAgain) const;

    std::unique_ptr<AtspiMenuTreeRead> m_read;
};

} // namespace platform::atspi
