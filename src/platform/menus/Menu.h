#pragma once

#include "platform/input/ModifierFlags.h"
#include "platform/menus/MenuItem.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class MenuDelegate;

// A menu as the system builds it: a title, an ordered list of items, an
// optional delegate, a font size and an appearance. Plain data: nothing here
// needs a display. The menu owns its items (shared, see MenuItem); a submenu
// belongs to the item that opens it.
class Menu
{
public:
    enum class Appearance
    {
        System,
        Light,
        Dark
    };

    explicit Menu(const QString& title = {});
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    // Not owned: the delegate must outlive the menu or be reset.
    MenuDelegate* delegate() const { return m_delegate; }
    void setDelegate(MenuDelegate* delegate) { m_delegate = delegate; }

    // The font size in points of this menu and its submenus; 0 is the
    // standard menu font. effectiveFontPointSize() is the first size set on
    // this menu or a menu above it.
    int fontPointSize() const { return m_fontPointSize; }
    void setFontPointSize(int points) { m_fontPointSize = qMax(0, points); }
    int effectiveFontPointSize() const;

    // Light or dark colours for this menu and its submenus, or the desktop's.
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance) { m_appearance = appearance; }
    Appearance effectiveAppearance() const;

    qsizetype numberOfItems() const { return static_cast<qsizetype>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // The item at index, or none when index is out of range.
    MenuItem* itemAtIndex(qsizetype index) const;
    MenuItem* lastItem() const;
    // The index of item in this menu, or -1.
    qsizetype indexOfItem(const MenuItem* item) const;
    MenuItem* itemWithTag(qint64 tag) const;
    MenuItem* itemWithTitle(const QString& title) const;
    // The items in order (shared references, for walking the menu while its
    // items may change).
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return m_items; }

    // Inserts item at index (clamped to the ends). An item held by another
    // menu leaves that menu first. Answers the item.
    MenuItem* insertItem(std::shared_ptr<MenuItem> item, qsizetype index);
    MenuItem* addItem(std::shared_ptr<MenuItem> item);
    // Appends a new item; see MenuItem::create.
    MenuItem* addItem(const QString& title, const QString& actionName = {},
                      MenuItem::Action action = {}, const QString& keyEquivalent = {});
    // Removes item (or the one at index) and hands it back; none when it is
    // not in this menu.
    std::shared_ptr<MenuItem> removeItem(const MenuItem* item);
    std::shared_ptr<MenuItem> removeItemAtIndex(qsizetype index);
    void removeAllItems();

    // Appends a separator item.
    MenuItem* addSeparator();
    // Appends a separator only when the menu has items and the last one is
    // not a separator; answers the separator or none.
    MenuItem* addSeparatorIfNecessary();

    // Who shows the menu while it is open sets a handler here, so that a
    // delegate that goes on filling the menu after it opened (a long menu
    // read a screenful at a time) can have the items it appended shown:
    // it calls itemsAppended() after each run of appended items. Without a
    // handler the menu is not open, and a delegate fills it whole.
    void setItemsAppendedHandler(std::function<void()> handler)
    {
        m_itemsAppended = std::move(handler);
    }
    bool isOpen() const { return bool(m_itemsAppended); }
    void itemsAppended() const
    {
        if (m_itemsAppended) {
            m_itemsAppended();
        }
    }

    // The item whose submenu this menu is, and the menu holding that item.
    MenuItem* parentItem() const { return m_parentItem; }
    Menu* supermenu() const;

    // Brings the menu up to date before it opens: lets the delegate update it
    // (when it responds), then asks the target of every item with an action
    // whether that item is enabled.
    void update();

    // The index of the primary item that the alternate at index stands in
    // for: walking back over alternates with the same key equivalent, the
    // first item that is no alternate and has that key equivalent. -1 when
    // the item is no alternate or has no such primary (it then shows as an
    // ordinary item).
    qsizetype indexOfPrimaryForItemAtIndex(qsizetype index) const;

    // Whether an alternate stands in for its primary while modifiers are
    // held: the modifiers it adds to its primary's mask must be exactly those
    // held beyond the primary's (so "Close All" ⌥⌘W replaces "Close" ⌘W with
    // Option held, Command or not). An alternate adding nothing needs its
    // whole mask held.
    static bool alternateMatches(ModifierFlags alternateMask, ModifierFlags primaryMask,
                                 ModifierFlags modifiers);

    // The items a reader sees while the modifiers (device-independent
    // flags) are held: hidden items left out, each primary replaced by its
    // first visible alternate that matches the held modifiers, other
    // alternates left out.
    std::vector<MenuItem*> itemsShownWithModifiers(ModifierFlags modifiers) const;

private:
    friend class MenuItem;

    QString m_title;
    MenuDelegate* m_delegate = nullptr;
    std::function<void()> m_itemsAppended;
    int m_fontPointSize = 0;
    Appearance m_appearance = Appearance::System;
    std::vector<std::shared_ptr<MenuItem>> m_items;
    MenuItem* m_parentItem = nullptr;
};

} // namespace platform
