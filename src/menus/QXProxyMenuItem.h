#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/menus/MenuDelegate.h"
#include "platform/menus/MenuItem.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QXSubmenuFill;

// A menu item of the pop-up that stands for one menu item of another
// application, reached through its accessibility element. It copies the
// foreign item's title, enabled state, mark, key equivalent and alternate
// relation, builds its submenu when the submenu is about to open (it is the
// delegate of its own submenu) unless the fast-track list asks for it at once,
// and presses the foreign item when chosen.
//
// A fast-track list (std::optional<QStringList>) says which submenus are built
// at once: nothing means every submenu is lazy; an empty list means every
// submenu is built at once, and so is everything below it; otherwise the
// submenus of the items whose lower-cased titles are listed.
//
// Main thread only.
class QXProxyMenuItem : public platform::MenuItem, public platform::MenuDelegate
{
public:
    using FastTrack = std::optional<QStringList>;

    // Reloads the menu-building preferences from the settings: the blacklist,
    // "Skip Disabled Menu Items", "Skip Hidden Menu Items", "Promote
    // Alternates" and "Show Key Equivalents". Called at the start of every
    // pop-up, so a change shows at the next one.
    static void updatePreferences();

    // Whether the lower-cased title is in the blacklist; never for an empty
    // title. Also asked for application names and the program's own name.
    static bool isBlacklistedMenuItemTitle(const QString& title);

    // Builds at most one item from element and appends it to menu, or
    // appends a separator when the element has no title (runs of
    // separators and leading separators collapse). tag is the element's index
    // in the menu bar for the top level of a pop-up, MaxTag inside submenus.
    static void addMenuItemWithUIElement(const platform::AccessibilityElement& element,
                                         platform::Menu& menu, qint64 tag, bool canPress,
                                         const FastTrack& fastTrack);

    // A proxy item for element, titled title. canPress gives it the press
    // action; canHide lets it be hidden when the foreign item has no position.
    static std::shared_ptr<QXProxyMenuItem>
    initWithUIElement(const platform::AccessibilityElement& element, const QString& title,
                      bool canPress, bool canHide, const FastTrack& fastTrack);

    // The foreign item's key equivalent as the menu shows it ("⌃⇧N"); empty
    // when it has none.
    static QString keyEquivalentDisplayText(const platform::AccessibilityElement& element);

    // Presses the foreign item the way a chosen proxy item does, without
    // waiting for the answer; with bringForward, its application comes
    // forward after the "Activation Delay".
    static void pressUIElement(const platform::AccessibilityElement& element, const QString& title,
                               bool bringForward);

    QXProxyMenuItem(const QString& title, const QString& keyEquivalent);
    ~QXProxyMenuItem() override;

    // Fills the submenu from the foreign submenu when it is still empty.
    void menuNeedsUpdate(platform::Menu& menu) override;
    // Proxy submenus never claim a key equivalent, so nothing is built just
    // to look for one.
    bool respondsToMenuHasKeyEquivalent() const override { return true; }
    bool menuHasKeyEquivalent(platform::Menu& menu, const QString& key,
                              platform::ModifierFlags modifiers) override;

    // The action of pressable items: presses the foreign item; reached
    // through the all-applications menu, also brings its application forward
    // after "Activation Delay".
    void pressElement();

    // The foreign item is an alternate of another item.
    bool elementIsAlternate() const { return m_elementIsAlternate; }
    void setElementIsAlternate(bool alternate) { m_elementIsAlternate = alternate; }

    const platform::AccessibilityElement& element() const { return m_element; }
    const platform::AccessibilityElement& submenuElement() const { return m_submenuElement; }

private:
    struct SubmenuWalk;
    // The walk of the submenu fill under way, if any.
    static SubmenuWalk* currentWalk;

    // Reads the foreign submenu's entries into menu.
    void fillSubmenu(platform::Menu& menu);
    void initialise(const platform::AccessibilityElement& element, bool canPress, bool canHide,
                    const FastTrack& fastTrack, std::optional<platform::ModifierFlags> mask);

    platform::AccessibilityElement m_element;
    platform::AccessibilityElement m_submenuElement;
    bool m_elementIsAlternate = false;
    // The submenu's fill, which may go on while the submenu is open.
    std::unique_ptr<QXSubmenuFill> m_fill;
};
