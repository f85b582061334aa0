#pragma once

#include "platform/input/ModifierFlags.h"

#include <QImage>
#include <QString>
#include <QtGlobal>
#include <any>
#include <functional>
#include <limits>
#include <memory>

namespace platform {

class Menu;
class MenuItemValidator;

// One entry of a Menu: a command with a title, a separator, or the opener of a
// submenu. Items are plain data that the presenter shows; they are shared
// (std::shared_ptr) so that whoever runs an item's action, or keeps an item
// aside after removing it from its menu, can keep it alive. The menu holding
// an item is its owner; weak references never keep an item alive.
class MenuItem : public std::enable_shared_from_this<MenuItem>
{
public:
    using Action = std::function<void(MenuItem&)>;

    enum class State
    {
        Off,
        On,
        Mixed
    };

    // How an attributed title differs from the menu's font. A point size of 0
    // keeps the size of the menu's font.
    struct TitleAttributes
    {
        bool bold = false;
        int pointSize = 0;
        bool operator==(const TitleAttributes&) const = default;
    };

    // The largest tag, which marks items built inside submenus.
    static constexpr qint64 MaxTag = std::numeric_limits<qint64>::max();

    explicit MenuItem(const QString& title = {}, const QString& keyEquivalent = {});
    virtual ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // A new item titled title whose action is action (named actionName).
    static std::shared_ptr<MenuItem> create(const QString& title, const QString& actionName = {},
                                            Action action = {}, const QString& keyEquivalent = {});
    // A new separator item.
    static std::shared_ptr<MenuItem> separatorItem();

    bool isSeparatorItem() const { return m_separator; }

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    // The title drawn with attributes (bold, size); replaces the title.
    bool hasAttributedTitle() const { return m_hasTitleAttributes; }
    TitleAttributes titleAttributes() const { return m_titleAttributes; }
    void setAttributedTitle(const QString& title, TitleAttributes attributes);
    void removeTitleAttributes();

    qint64 tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

    // Any copyable value the builder of the menu keeps with the item.
    const std::any& representedObject() const { return m_representedObject; }
    void setRepresentedObject(std::any object) { m_representedObject = std::move(object); }

    // The action runs when the item is chosen. The action name says what the
    // action does ("toggleDebugLogging:") so that a validator can tell its
    // items apart. An item without action is disabled.
    bool hasAction() const { return static_cast<bool>(m_action); }
    QString actionName() const { return m_actionName; }
    void setAction(const QString& actionName, Action action);
    void removeAction();

    // The object asked to validate the item before its menu opens, or none.
    // Not owned: it must outlive the item or be reset.
    MenuItemValidator* target() const { return m_target; }
    void setTarget(MenuItemValidator* target) { m_target = target; }

    // Runs the action when the item is enabled and has one; answers whether
    // it ran. The item stays alive while its action runs, even when the
    // action removes it from its menu.
    bool performAction();

    // The enabled flag as set, and whether the item can be chosen: enabled,
    // not a separator, and with an action or a submenu.
    bool isEnabledFlag() const { return m_enabled; }
    bool isEnabled() const;
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // The submenu, owned by the item, or none.
    Menu* submenu() const { return m_submenu.get(); }
    bool hasSubmenu() const { return m_submenu != nullptr; }
    void setSubmenu(std::unique_ptr<Menu> submenu);
    std::unique_ptr<Menu> takeSubmenu();

    // The menu holding the item, or none.
    Menu* menu() const { return m_menu; }
    // The item whose submenu holds this item, or none.
    MenuItem* parentItem() const;

    // The key equivalent shown in the shortcut column (never a shortcut);
    // an upper-case letter implies Shift. The mask holds the modifier flags
    // (Command when not set otherwise).
    QString keyEquivalent() const { return m_keyEquivalent; }
    void setKeyEquivalent(const QString& key) { m_keyEquivalent = key; }
    ModifierFlags keyEquivalentModifierMask() const { return m_keyEquivalentModifierMask; }
    void setKeyEquivalentModifierMask(ModifierFlags mask) { m_keyEquivalentModifierMask = mask; }

    // An alternate replaces its primary (the item before it with the same key
    // equivalent) while exactly its modifier mask is held.
    bool isAlternate() const { return m_alternate; }
    void setAlternate(bool alternate) { m_alternate = alternate; }

    State state() const { return m_state; }
    void setState(State state) { m_state = state; }

    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }

    // The image before the title; a template image is drawn in the menu's
    // text colour, keeping only its alpha. Its size is in points (the
    // image's device-pixel ratio tells how many pixels a point has).
    QImage image() const { return m_image; }
    bool imageIsTemplate() const { return m_imageIsTemplate; }
    void setImage(const QImage& image, bool isTemplate = false);

private:
    friend class Menu;

    QString m_title;
    bool m_separator = false;
    bool m_hasTitleAttributes = false;
    TitleAttributes m_titleAttributes;
    qint64 m_tag = 0;
    std::any m_representedObject;
    QString m_actionName;
    Action m_action;
    MenuItemValidator* m_target = nullptr;
    bool m_enabled = true;
    std::unique_ptr<Menu> m_submenu;
    Menu* m_menu = nullptr;
    QString m_keyEquivalent;
    ModifierFlags m_keyEquivalentModifierMask = ModifierFlag::Command;
    bool m_alternate = false;
    State m_state = State::Off;
    bool m_hidden = false;
    QImage m_image;
    bool m_imageIsTemplate = false;
};

} // namespace platform
