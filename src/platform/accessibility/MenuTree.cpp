#include "platform/accessibility/MenuTree.h"

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"

namespace platform {

namespace {

using namespace platform::accessibility;

// Menus nest; a foreign tree that loops must still end.
constexpr int DepthLimit = 16;
// More menus than any real application has: a tree that lists the same
// submenu again and again (or a loop of them) still ends soon.
constexpr int MenuLimit = 2000;

// Walks menus and counts the requests that ran into the timeout: the first
// one ends the walk, as every later request would cost another timeout.
class TreeWalk
{
public:
    TreeWalk(MenuTree& tree, int maxItems)
        : m_tree(tree), m_maxItems(maxItems),
          m_timedOutBefore(Accessibility::current().timedOutRequests())
    {}

    bool stopped()
    {
        if (!m_tree.complete) {
            return true;
        }
        if (Accessibility::current().timedOutRequests() != m_timedOutBefore) {
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
        std::optional<QVariant> value = element.copyAttribute(name);
        return stopped() ? std::nullopt : value;
    }

    // The entries of an item's submenu; nothing when it has none.
    std::optional<AccessibilityElementList> submenuEntries(const AccessibilityElement& item)
    {
        const AccessibilityElementList children =
            accessibilityElementListFromVariant(read(item, ChildrenAttribute).value_or(QVariant()));
        for (const AccessibilityElement& child : children) {
            if (read(child, RoleAttribute).value_or(QVariant()).toString() == MenuRole) {
                return accessibilityElementListFromVariant(
                    read(child, ChildrenAttribute).value_or(QVariant()));
            }
        }
        return std::nullopt;
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
            const std::optional<AccessibilityElementList> submenu = submenuEntries(entry);
            if (submenu) {
                if (depth < DepthLimit && ++m_menusWalked <= MenuLimit) {
                    walkMenu(*submenu, itemPath, depth + 1);
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
    int m_menusWalked = 0;
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
