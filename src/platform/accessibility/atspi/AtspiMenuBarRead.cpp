#include "platform/accessibility/atspi/AtspiMenuBarRead.h"

#include "platform/accessibility/atspi/AtspiSnapshotNode.h"

#include <QTimer>

namespace platform::atspi {

namespace {

// More entries than the menu bar and the menus read with it ever hold: a
// read that reaches it is cut short, and nothing of it is kept.
constexpr int MaximumEntries = 5000;

} // namespace

AtspiMenuBarRead::AtspiMenuBarRead(const QString& busName, qint64 pid,
                                   const MenuBarReadDepth& depth,
                                   std::optional<AtspiMenuTreeRead::MenuBarHint> hint)
{
    if (busName.isEmpty()) {
        QTimer::singleShot(0, this, [this] { finish({}); });
        return;
    }
    m_read = std::make_unique<AtspiMenuTreeRead>(
        busName, pid, MaximumEntries, AtspiMenuTreeRead::Start::MenuBarAhead, depth, hint);
    connect(m_read.get(), &MenuTreeRead::finished, this, &AtspiMenuBarRead::treeRead);
}

void AtspiMenuBarRead::treeRead()
{
    const MenuTree& tree = m_read->tree();
    const std::shared_ptr<MenuSnapshot>& snapshot = m_read->snapshot();
    if (!tree.complete || tree.items.size() >= MaximumEntries || !snapshot ||
        snapshot->menuBar.isEmpty()) {
        finish({});
        return;
    }
    finish(AccessibilityElement(std::make_shared<AtspiSnapshotNode>(
        snapshot, snapshot->menuBar, AtspiSnapshotNode::Kind::MenuBar)));
}

std::optional<AtspiMenuTreeRead::MenuBarHint> AtspiMenuBarRead::hint(const QString& busName) const
{
    const std::shared_ptr<MenuSnapshot> snapshot = m_read ? m_read->snapshot() : nullptr;
    if (!snapshot || snapshot->menuBar.isEmpty() || snapshot->busName != busName) {
        return std::nullopt;
    }
    return AtspiMenuTreeRead::MenuBarHint{snapshot->menuBar, snapshot->toolkit};
}

bool AtspiMenuBarRead::isShownAsRead() const
{
    return !m_read || !m_read->snapshot() || m_read->snapshot()->reportsChanges;
}

AccessibilityElement AtspiMenuBarRead::menuBarForPopUp() const
{
    return popUpCopy(true);
}

AccessibilityElement AtspiMenuBarRead::menuBarAsRead() const
{
    return popUpCopy(false);
}

AccessibilityElement AtspiMenuBarRead::popUpCopy(bool askAgain) const
{
    if (menuBar().isNull() || isShownAsRead()) {
        return menuBar();
    }
    // A copy of its own, so that what one pop-up asked again, or read
    // beyond what was read ahead, is asked again by the next one too.
    auto copy = std::make_shared<MenuSnapshot>(*m_read->snapshot());
    copy->reaskEntries = askAgain;
    copy->asked.clear();
    copy->unanswered.clear();
    if (askAgain) {
        for (CachedObject& object : copy->objects) {
            object.childrenSettled = false;
        }
    }
    return AccessibilityElement(
        std::make_shared<AtspiSnapshotNode>(copy, copy->menuBar, AtspiSnapshotNode::Kind::MenuBar));
}

bool AtspiMenuBarRead::readSameMenusAs(const MenuBarRead& earlier) const
{
    const auto* other = dynamic_cast<const AtspiMenuBarRead*>(&earlier);
    if (!other || menuBar().isNull() || other->menuBar().isNull() || !m_read || !other->m_read) {
        return false;
    }
    const std::shared_ptr<MenuSnapshot>& mine = m_read->snapshot();
    const std::shared_ptr<MenuSnapshot>& theirs = other->m_read->snapshot();
    return mine && theirs && haveSameMenus(*mine, *theirs);
}

} // namespace platform::atspi
