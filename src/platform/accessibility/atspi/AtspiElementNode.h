#pragma once

#include "platform/accessibility/AccessibilityNode.h"
#include "platform/accessibility/MenuKeyBinding.h"
#include "platform/accessibility/atspi/AtspiEntryPrefetch.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/GObjectRef.h"

#include <QElapsedTimer>
#include <atspi/atspi.h>

namespace platform {

// An AT-SPI object seen in the shape the program reads menus in: an
// application with an "AXMenuBar", a menu bar whose children are menu-bar
// items (after the window menu at index 0), items whose submenu is their one
// "AXMenu" child, and menus whose children are items. GTK publishes submenus
// as items of role menu with the entries directly below; Qt as an item with
// one popup-menu child. Both shapes become the same here.
class AtspiElementNode : public AccessibilityNode
{
public:
    enum class Kind
    {
        Application,
        MenuBar,
        MenuBarItem,
        MenuItem,
        Menu
    };

    // gtk: the application's toolkit is GTK (known from the application
    // element down, so that items never ask for it).
    AtspiElementNode(GObjectRef<AtspiAccessible> object, Kind kind, qint64 pid, bool gtk = false);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    std::optional<qint64> attributeValueCount(const QString& name) override;
    std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                qint64 maxValues) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override { return m_pid; }
    bool setMessagingTimeout(float seconds) override;
    bool isSameElement(const AccessibilityNode& other) const override;

    // Takes what the element answered to requests sent for a whole run of
    // entries, so that reading it asks nothing more for those.
    void prefill(const atspi::EntryAnswers& answers);

    // The role the program reads for an element of that kind.
    static QVariant roleOfKind(Kind kind);
    // The check mark of an item in those states.
    static std::optional<QVariant> markOf(const atspi::ItemStates& states);
    // One of the key-equivalent attributes of an item with that binding.
    static std::optional<QVariant> keyAttributeOf(const std::optional<MenuKeyBinding>& binding,
                                                  const QString& name);

private:
    std::optional<QVariant> readAttribute(const QString& name);
    std::optional<AtspiRole> role();
    atspi::ItemStates states();
    std::optional<QVariant> title();
    std::optional<QVariant> children();
    std::optional<QVariant> menuBar();
    std::optional<QVariant> wholeMenuBar();
    std::optional<QVariant> position();
    // The item's key equivalent, read once.
    std::optional<MenuKeyBinding> keyBinding();
    std::optional<MenuKeyBinding> readKeyBinding();
    std::optional<QString> readKeyBindingText();
    std::optional<QVariant> keyAttribute(const QString& name);
    // The object whose children are this item's submenu entries, if any.
    std::optional<GObjectRef<AtspiAccessible>> submenuObject();
    // Whether this item is a menu without entries that its application
    // opens with an action: browsers publish a menu's entries only while it
    // is open. GTK menus never count: GTK publishes closed menus whole.
    bool opensOnPress();

    GObjectRef<AtspiAccessible> m_object;
    Kind m_kind;
    qint64 m_pid;
    bool m_gtk;
    std::optional<AtspiRole> m_role;
    std::optional<std::optional<MenuKeyBinding>> m_keyBinding;
    // Answers taken from a run's requests.
    std::optional<QString> m_name;
    std::optional<QString> m_keyBindingText;
    atspi::ItemStates m_states;
    // Children the last read of a menu's children left out.
    qint64 m_omittedChildren = 0;
    QElapsedTimer m_statesAge;
};

} // namespace platform
