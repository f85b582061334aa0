#include "platform/accessibility/MenuTree.h"

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/AccessibilityReadBudget.h"
#include "platform/accessibility/MenuWalkLimits.h"

#include <QElapsedTimer>

namespace platform {

namespace {

using namespace platform::accessibility;

// How many messaging timeouts the requests of one read may take together.
constexpr int DeadlineTimeouts = 2;

// Walks menus and counts the requests that ran into the timeout: the first
// one ends the walk, as every later request would cost another timeout. The
// time the requests take is summed to the nanosecond (most take well under a
// millisecond): an application that answers every request just in time, or
// one that lists thousands of entries, is bounded by the walk's deadline;
// the tree then holds what was read before.
class TreeWalk
{
public:
    TreeWalk(MenuTree& tree, int maxItems)
        : m_tree(tree), m_maxItems(maxItems),
          m_timedOutBefore(Accessibility::current().timedOutRequests()),
          m_budgetNs(qint64(Accessibility::current().messagingTimeoutMs()) * DeadlineTimeouts *
                     1000000)
    {}

    bool stopped()
    {
        if (!m_tree.complete) {
            return true;
        }
        if (Accessibility::current().timedOutRequests() != m_timedOutBefore ||
            m_spentNs >= m_budgetNs) {
            m_tree.complete = false;
            return true;
        }
        return m_tree.items.size() >= m_maxItems;
    }

    std::optional<QVariant> read(const AccessibilityElement& element, QLatin1StringView name)
    {
        if (stopped()) {
            return std::nullopt;
        }
        QElapsedTimer request;
        request.start();
        std::optional<QVariant> value;
        {
            // A read that takes a run of requests stops at the deadline too.
            const AccessibilityReadBudget budget((m_budgetNs - m_spentNs + 999999) / 1000000);
            value = element.copyAttribute(name);
        }
        m_spentNs += request.nsecsElapsed();
        return stopped() ? std::nullopt : value;
    }

    // An item's submenu element; null when it has none.
    AccessibilityElement submenu(const AccessibilityElement& item)
    {
        const AccessibilityElementList children =
            accessibilityElementListFromVariant(read(item, ChildrenAttribute).value_or(QVariant()));
        for (const AccessibilityElement& child : children) {
            if (read(child, RoleAttribute).value_or(QVariant()).toString() == MenuRole) {
                return child;
            }
        }
        return {};
    }

    void walkMenu(const AccessibilityElementList& entries, const QStringList& path, int depth)
    {
        for (const AccessibilityElement& entry : entries) {
            if (stopped()) {
                return;
            }
            const QString title = read(entry, TitleAttribute).value_or(QVariant()).toString();
            if (title.isEmpty()) {
                continue; // a separator, or an item that did not answer
            }
            const QStringList itemPath = path + QStringList{title};
            const AccessibilityElement menu = submenu(entry);
            if (!menu.isNull()) {
                // A loop, a submenu listed again or one too deep is left out.
                if (m_limits.enter(menu, depth + 1)) {
                    walkMenu(accessibilityElementListFromVariant(
                                 read(menu, ChildrenAttribute).value_or(QVariant())),
                             itemPath, depth + 1);
                }
                continue;
            }
            MenuTreeItem item;
            item.path = itemPath;
            item.enabled = read(entry, EnabledAttribute).value_or(false).toBool();
            item.hidden = !read(entry, PositionAttribute).has_value();
            item.mark = read(entry, MarkCharAttribute).value_or(QVariant()).toString();
            item.element = entry;
            if (stopped()) {
                return; // the item's own reads may have timed out
            }
            m_tree.items.append(item);
        }
    }

private:
    MenuTree& m_tree;
    int m_maxItems;
    quint64 m_timedOutBefore;
    qint64 m_budgetNs;
    qint64 m_spentNs = 0;
    MenuWalkLimits m_limits;
};

} // namespace

MenuTree readMenuTreeItemByItem(const AccessibilityElement& application, int maxItems)
{
    MenuTree tree;
    if (application.isNull()) {
        return tree;
    }
    TreeWalk walk(tree, maxItems);
    const AccessibilityElement menuBar = accessibilityElementFromVariant(
        walk.read(application, MenuBarAttribute).value_or(QVariant()));
    if (menuBar.isNull()) {
        return tree;
    }
    tree.source = MenuTree::Source::ItemByItem;
    const AccessibilityElementList topLevel = accessibilityElementListFromVariant(
        walk.read(menuBar, ChildrenAttribute).value_or(QVariant()));
    // Index 0 is the window menu that the backends add; it is not the
    // application's own.
    walk.walkMenu(topLevel.mid(1), {}, 1);
    return tree;
}

QString menuTreeSourceName(MenuTree::Source source)
{
    switch (source) {
    case MenuTree::Source::None:
        return QStringLiteral("none");
    case MenuTree::Source::WholeTree:
        return QStringLiteral("whole-tree");
    case MenuTree::Source::ItemByItem:
        return QStringLiteral("item-by-item");
    }
    return QString();
}

} // namespace platform
