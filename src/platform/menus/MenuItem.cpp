#include "platform/menus/MenuItem.h"

#include "platform/menus/Menu.h"

namespace platform {

MenuItem::MenuItem(const QString& title, const QString& keyEquivalent)
    : m_title(title), m_keyEquivalent(keyEquivalent)
{}

MenuItem::~MenuItem()
{
    if (m_submenu) {
        m_submenu->m_parentItem = nullptr;
    }
}

std::shared_ptr<MenuItem> MenuItem::create(const QString& title, const QString& actionName,
                                           Action action, const QString& keyEquivalent)
{
    auto item = std::make_shared<MenuItem>(title, keyEquivalent);
    item->setAction(actionName, std::move(action));
    return item;
}

std::shared_ptr<MenuItem> MenuItem::separatorItem()
{
    auto item = std::make_shared<MenuItem>();
    item->m_separator = true;
    return item;
}

void MenuItem::setAttributedTitle(const QString& title, TitleAttributes attributes)
{
    m_title = title;
    m_titleAttributes = attributes;
    m_hasTitleAttributes = true;
}

void MenuItem::removeTitleAttributes()
{
    m_titleAttributes = {};
    m_hasTitleAttributes = false;
}

void MenuItem::setAction(const QString& actionName, Action action)
{
    m_actionName = action ? actionName : QString();
    m_action = std::move(action);
}

void MenuItem::removeAction()
{
    setAction({}, {});
}

bool MenuItem::performAction()
{
    if (!isEnabled() || !m_action) {
        return false;
    }
    // The action may remove this item from its menu (dropping the menu's
    // reference) or replace the action itself: keep both alive until it ends.
    const std::shared_ptr<MenuItem> keepAlive = weak_from_this().lock();
    const Action action = m_action;
    action(*this);
    return true;
}

bool MenuItem::isEnabled() const
{
    return m_enabled && !m_separator && (m_action || m_submenu);
}

void MenuItem::setSubmenu(std::unique_ptr<Menu> submenu)
{
    if (m_submenu) {
        m_submenu->m_parentItem = nullptr;
    }
    m_submenu = std::move(submenu);
    if (m_submenu) {
        m_submenu->m_parentItem = this;
    }
}

std::unique_ptr<Menu> MenuItem::takeSubmenu()
{
    if (m_submenu) {
        m_submenu->m_parentItem = nullptr;
    }
    return std::move(m_submenu);
}

MenuItem* MenuItem::parentItem() const
{
    return m_menu ? m_menu->parentItem() : nullptr;
}

void MenuItem::setImage(const QImage& image, bool isTemplate)
{
    m_image = image;
    m_imageIsTemplate = isTemplate;
}

} // namespace platform
