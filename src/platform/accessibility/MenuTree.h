#pragma once

#include "platform/accessibility/AccessibilityElement.h"

#include <QList>
#include <QStringList>

namespace platform {

// One item of an application's menus that can be pressed: a leaf, never an
// item that only opens a submenu.
struct MenuTreeItem
{
    // Titles from the top-level menu down to the item ("File", "New Window").
    QStringList path;
    bool enabled = false;
    // Not shown in its menu (such items are never offered to the user).
    bool hidden = false;
    // The "AXMenuItemMarkChar" value: a check mark, a mixed mark or empty.
    QString mark;
    // The element to press. Key equivalents are not read with the tree: they
    // cost a request per item, so callers ask the element for the
    // "AXMenuItemCmd..." attributes of the few items they show.
    AccessibilityElement element;
};

// The whole menu tree of one application.
struct MenuTree
{
    // More items than any real menu bar holds: searches read at most this
    // many of one application, so a tree that claims more is cut.
    static constexpr int MaximumSearchedItems = 50000;

    enum class Source
    {
        // The application is unknown or has no menu bar.
        None,
        // One request answered with every object of the application.
        WholeTree,
        // Menu by menu, one request per attribute.
        ItemByItem
    };

    Source source = Source::None;
    // False when the application stopped answering during the read: items
    // holds what was read before.
    bool complete = true;
    QList<MenuTreeItem> items;
};

// Reads the menu tree below an application element through the element
// interface: the menu bar's items after the window menu at index 0, their
// submenus, down to the depth limit and at most maxItems items. Stops at
// the first request that runs into the messaging timeout.
MenuTree readMenuTreeItemByItem(const AccessibilityElement& application, int maxItems);

// How the source is named in logs and JSON ("whole-tree", "item-by-item").
QString menuTreeSourceName(MenuTree::Source source);

} // namespace platform
