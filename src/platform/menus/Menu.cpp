#include "platform/menus/Menu.h"

#include "platform/menus/MenuDelegate.h"
#include "platform/menus/MenuItemValidator.h"

#include <algorithm>

namespace platform {

namespace {

bool sameKeyEquivalent(const MenuItem& a, const MenuItem& b)
{
    return a.keyEquivalent().compare(b.keyEquivalent(), Qt::CaseInsensitive) == 0;
}

} // namespace

Menu::Menu(const QString& title) : m_title(title) {}

Menu::~Menu()
{
    // Items kept elsewhere outlive the menu; they no longer belong to it.
    for (const auto& item : m_items) {
        item->m_menu = nullptr;
    }
}

int Menu::effectiveFontPointSize() const
{
    for (const Menu* menu = this; menu; menu = menu->supermenu()) {
        if (menu->m_fontPointSize > 0) {
            return menu->m_fontPointSize;
        }
    }
    return 0;
}

Menu::Appearance Menu::effectiveAppearance() const
{
    for (const Menu* menu = this; menu; menu = menu->supermenu()) {
        if (menu->m_appearance != Appearance::System) {
            return menu->m_appearance;
        }
    }
    return Appearance::System;
}

MenuItem* Menu::itemAtIndex(qsizetype index) const
{
    if (index < 0 || index >= numberOfItems()) {
        return nullptr;
    }
    return m_items[static_cast<size_t>(index)].get();
}

MenuItem* Menu::lastItem() const
{
    return m_items.empty() ? nullptr : m_items.back().get();
}

qsizetype Menu::indexOfItem(const MenuItem* item) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(), [item](const auto& candidate) {
        return candidate.get() == item;
    });
    return found == m_items.end() ? -1 : static_cast<qsizetype>(found - m_items.begin());
}

MenuItem* Menu::itemWithTag(qint64 tag) const
{
    for (const auto& item : m_items) {
        if (item->tag() == tag) {
            return item.get();
        }
    }
    return nullptr;
}

MenuItem* Menu::itemWithTitle(const QString& title) const
{
    for (const auto& item : m_items) {
        if (!item->isSeparatorItem() && item->title() == title) {
            return item.get();
        }
    }
    return nullptr;
}

MenuItem* Menu::insertItem(std::shared_ptr<MenuItem> item, qsizetype index)
{
    if (!item) {
        return nullptr;
    }
    if (item->m_menu) {
        item->m_menu->removeItem(item.get());
    }
    index = std::clamp<qsizetype>(index, 0, numberOfItems());
    item->m_menu = this;
    MenuItem* inserted = item.get();
    m_items.insert(m_items.begin() + index, std::move(item));
    return inserted;
}

MenuItem* Menu::addItem(std::shared_ptr<MenuItem> item)
{
    return insertItem(std::move(item), numberOfItems());
}

MenuItem* Menu::addItem(const QString& title, const QString& actionName, MenuItem::Action action,
                        const QString& keyEquivalent)
{
    return addItem(MenuItem::create(title, actionName, std::move(action), keyEquivalent));
}

std::shared_ptr<MenuItem> Menu::removeItem(const MenuItem* item)
{
    return removeItemAtIndex(indexOfItem(item));
}

std::shared_ptr<MenuItem> Menu::removeItemAtIndex(qsizetype index)
{
    if (index < 0 || index >= numberOfItems()) {
        return nullptr;
    }
    std::shared_ptr<MenuItem> item = std::move(m_items[static_cast<size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    item->m_menu = nullptr;
    return item;
}

void Menu::removeAllItems()
{
    // Detach first, then release: an item's destruction may reach back into
    // this menu (a delegate looking at it), which must then already be empty.
    std::vector<std::shared_ptr<MenuItem>> removed;
    removed.swap(m_items);
    for (const auto& item : removed) {
        item->m_menu = nullptr;
    }
}

MenuItem* Menu::addSeparator()
{
    return addItem(MenuItem::separatorItem());
}

MenuItem* Menu::addSeparatorIfNecessary()
{
    if (m_items.empty() || m_items.back()->isSeparatorItem()) {
        return nullptr;
    }
    return addSeparator();
}

Menu* Menu::supermenu() const
{
    return m_parentItem ? m_parentItem->menu() : nullptr;
}

void Menu::update()
{
    if (m_delegate && m_delegate->respondsToMenuNeedsUpdate()) {
        m_delegate->menuNeedsUpdate(*this);
    }
    // A validator may change the menu; walk a snapshot and skip items that
    // left it meanwhile.
    const std::vector<std::shared_ptr<MenuItem>> snapshot = m_items;
    for (const auto& item : snapshot) {
        if (item->menu() == this && item->hasAction() && item->target()) {
            item->setEnabled(item->target()->validateMenuItem(*item));
        }
    }
}

qsizetype Menu::indexOfPrimaryForItemAtIndex(qsizetype index) const
{
    const MenuItem* alternate = itemAtIndex(index);
    if (!alternate || !alternate->isAlternate() || alternate->isSeparatorItem()) {
        return -1;
    }
    for (qsizetype i = index - 1; i >= 0; --i) {
        const MenuItem* candidate = itemAtIndex(i);
        if (candidate->isSeparatorItem() || !sameKeyEquivalent(*candidate, *alternate)) {
            return -1;
        }
        if (!candidate->isAlternate()) {
            return i;
        }
    }
    return -1;
}

bool Menu::alternateMatches(ModifierFlags alternateMask, ModifierFlags primaryMask,
                            ModifierFlags modifiers)
{
    const ModifierFlags held = modifiers & ModifierFlag::StandardModifiersMask;
    const ModifierFlags alternate = alternateMask & ModifierFlag::StandardModifiersMask;
    const ModifierFlags primary = primaryMask & ModifierFlag::StandardModifiersMask;
    const ModifierFlags added = alternate & ~primary;
    if (added == 0) {
        return alternate != 0 && held == alternate;
    }
    return (held & ~primary) == added;
}

std::vector<MenuItem*> Menu::itemsShownWithModifiers(ModifierFlags modifiers) const
{
    std::vector<MenuItem*> shown;
    const qsizetype count = numberOfItems();
    for (qsizetype i = 0; i < count; ++i) {
        if (indexOfPrimaryForItemAtIndex(i) >= 0) {
            continue; // shown, if at all, in its primary's place
        }
        MenuItem* chosen = itemAtIndex(i)->isHidden() ? nullptr : itemAtIndex(i);
        for (qsizetype j = i + 1; j < count && indexOfPrimaryForItemAtIndex(j) == i; ++j) {
            const MenuItem* alternate = itemAtIndex(j);
            if (!alternate->isHidden() &&
                alternateMatches(alternate->keyEquivalentModifierMask(),
                                 itemAtIndex(i)->keyEquivalentModifierMask(), modifiers)) {
                chosen = itemAtIndex(j);
                break;
            }
        }
        if (chosen) {
            shown.push_back(chosen);
        }
    }
    return shown;
}

} // namespace platform
