#include "platform/accessibility/atspi/AtspiElementNode.h"

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/AccessibilityReadBudget.h"
#include "platform/accessibility/MenuKeyBinding.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiMenuSnapshot.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "platform/accessibility/atspi/AtspiSnapshotNode.h"
#include "platform/accessibility/atspi/MenuBarSearch.h"
#include "platform/accessibility/atspi/WindowMenuNode.h"

#include <QDeadlineTimer>
#include <QPointF>
#include <algorithm>
#include <memory>
#include <utility>

namespace platform {

using namespace platform::accessibility;

namespace {

// The program reads several state-derived attributes of an item in a row;
// one state request serves them all for this long.
constexpr qint64 StatesLifetimeMs = 250;
constexpr int MenuBarSearchLimit = 200;
// What the search for a menu bar may take beyond one messaging timeout, over
// all of an application's windows together.
constexpr qint64 MenuBarSearchGraceMs = 1000;
// How many messaging timeouts reading the children of one menu may take.
constexpr int ChildrenDeadlineTimeouts = 2;
constexpr gint ActionNameLimit = 8;

// Clears a GError and answers whether there was one.
bool failed(GError*& error)
{
    if (!error) {
        return false;
    }
    atspi::countIfTimedOut(error);
    g_error_free(error);
    error = nullptr;
    return true;
}

QString takeString(gchar* text)
{
    const QString value = QString::fromUtf8(text);
    g_free(text);
    return value;
}

std::optional<int> childCount(AtspiAccessible* object)
{
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(object, &error);
    if (failed(error) || count < 0) {
        return std::nullopt;
    }
    return count;
}

GObjectRef<AtspiAccessible> childAt(AtspiAccessible* object, int index)
{
    GError* error = nullptr;
    AtspiAccessible* child = atspi_accessible_get_child_at_index(object, index, &error);
    if (failed(error)) {
        if (child) {
            g_object_unref(child);
        }
        return {};
    }
    return GObjectRef<AtspiAccessible>::adopt(child);
}

std::optional<AtspiRole> roleOf(AtspiAccessible* object)
{
    GError* error = nullptr;
    const AtspiRole role = atspi_accessible_get_role(object, &error);
    if (failed(error)) {
        return std::nullopt;
    }
    return role;
}

bool isGtkApplication(AtspiAccessible* application)
{
    GError* error = nullptr;
    gchar* name = atspi_accessible_get_toolkit_name(application, &error);
    const bool gtk = !failed(error) && atspi::isGtkToolkit(QString::fromUtf8(name));
    g_free(name);
    return gtk;
}

// The state set of an object; null when the request failed. libatspi reports
// no error for it and hands out the last set it knew instead, so a request
// that took the whole timeout counts as unanswered.
AtspiStateSet* stateSetOf(AtspiAccessible* object)
{
    QElapsedTimer request;
    request.start();
    AtspiStateSet* set = atspi_accessible_get_state_set(object);
    if (atspi::tookTheTimeout(request)) {
        atspi::countTimedOutRequest();
        if (set) {
            g_object_unref(set);
        }
        return nullptr;
    }
    return set;
}

bool hasState(AtspiAccessible* object, AtspiStateType state)
{
    AtspiStateSet* states = stateSetOf(object);
    const bool has = states && atspi_state_set_contains(states, state);
    if (states) {
        g_object_unref(states);
    }
    return has;
}

bool isActiveWindow(AtspiAccessible* window)
{
    return hasState(window, ATSPI_STATE_ACTIVE);
}

bool isVisible(AtspiAccessible* object)
{
    return hasState(object, ATSPI_STATE_VISIBLE);
}

// Looks for the first menu bar below a window, depth first in child order:
// toolkits put the menu bar first in the window or in its top box, so it is
// found before the requests for its siblings' subtrees are sent. Objects that
// never hold a menu bar (lists, text, buttons) are not searched. One search
// serves all windows of an application: once the application stops answering
// or the deadline has passed, it answers nothing for every further window.
class MenuBarSearch
{
public:
    explicit MenuBarSearch(QDeadlineTimer deadline)
        : m_deadline(deadline), m_timedOutAtStart(atspi::timedOutRequests())
    {}

    // The window's first menu bar that is VISIBLE, else its first one: an
    // application may keep a stale copy of its menus in a menu bar of its
    // own, and one whose bar is hidden until a key is pressed still has it.
    GObjectRef<AtspiAccessible> find(const GObjectRef<AtspiAccessible>& window)
    {
        if (hasGivenUp()) {
            return {};
        }
        m_firstFound = {};
        GObjectRef<AtspiAccessible> bar = search(window, 0);
        return bar ? bar : std::exchange(m_firstFound, {});
    }

    // The application stopped answering, or the search took too long.
    bool hasGivenUp()
    {
        if (m_deadline.hasExpired() || atspi::timedOutRequests() != m_timedOutAtStart) {
            m_giveUp = true;
        }
        return m_giveUp;
    }

private:
    GObjectRef<AtspiAccessible> search(const GObjectRef<AtspiAccessible>& object, int depth)
    {
        const std::optional<int> count = childCount(object.get());
        if (!count) {
            // Gone, or not answering (which ends the whole search).
            return {};
        }
        for (int i = 0; i < *count && !hasGivenUp(); ++i) {
            if (++m_visited > MenuBarSearchLimit) {
                m_giveUp = true;
                break;
            }
            GObjectRef<AtspiAccessible> child = childAt(object.get(), i);
            if (!child) {
                continue;
            }
            const std::optional<AtspiRole> role = roleOf(child.get());
            if (!role) {
                continue;
            }
            if (*role == ATSPI_ROLE_MENU_BAR) {
                if (isVisible(child.get())) {
                    return child;
                }
                if (!m_firstFound) {
                    m_firstFound = child;
                }
                continue;
            }
            if (depth + 1 < atspi::MenuBarSearchDepth && atspi::mayHoldMenuBar(*role)) {
                GObjectRef<AtspiAccessible> bar = search(child, depth + 1);
                if (bar) {
                    return bar;
                }
            }
        }
        return {};
    }

    QDeadlineTimer m_deadline;
    quint64 m_timedOutAtStart;
    GObjectRef<AtspiAccessible> m_firstFound;
    int m_visited = 0;
    bool m_giveUp = false;
};

} // namespace

AtspiElementNode::AtspiElementNode(GObjectRef<AtspiAccessible> object, Kind kind, qint64 pid,
                                   bool gtk)
    : m_object(std::move(object)), m_kind(kind), m_pid(pid), m_gtk(gtk)
{}

std::optional<AtspiRole> AtspiElementNode::role()
{
    if (!m_role) {
        m_role = roleOf(m_object.get());
    }
    return m_role;
}

atspi::ItemStates AtspiElementNode::states()
{
    if (m_statesAge.isValid() && m_statesAge.elapsed() < StatesLifetimeMs) {
        return m_states;
    }
    std::optional<quint64> bits;
    AtspiStateSet* set = stateSetOf(m_object.get());
    if (set) {
        bits = quint64(set->states);
        g_object_unref(set);
    }
    const atspi::ItemStates states = atspi::itemStates(bits);
    m_states = states;
    m_statesAge.start();
    return states;
}

std::optional<QVariant> AtspiElementNode::copyAttribute(const QString& name)
{
    // Not every libatspi call reports an application that does not answer
    // as an error: a read that came back empty after the whole timeout
    // counts as unanswered all the same.
    const quint64 timedOutBefore = atspi::timedOutRequests();
    QElapsedTimer request;
    request.start();
    std::optional<QVariant> value = readAttribute(name);
    if (!value && atspi::tookTheTimeout(request) && atspi::timedOutRequests() == timedOutBefore) {
        atspi::countTimedOutRequest();
    }
    return value;
}

std::optional<QVariant> AtspiElementNode::readAttribute(const QString& name)
{
    if (name == RoleAttribute) {
        return roleOfKind(m_kind);
    }
    if (name == TitleAttribute) {
        return title();
    }
    if (name == ChildrenAttribute) {
        return children();
    }
    if (name == MenuBarAttribute) {
        return m_kind == Kind::Application ? menuBar() : std::nullopt;
    }
    if (name == WholeMenuBarAttribute) {
        return m_kind == Kind::Application ? wholeMenuBar() : std::nullopt;
    }
    if (name == OmittedChildCountAttribute) {
        return m_kind == Kind::Menu || m_kind == Kind::MenuBar
                   ? std::optional<QVariant>(m_omittedChildren)
                   : std::nullopt;
    }
    if (m_kind != Kind::MenuBarItem && m_kind != Kind::MenuItem) {
        return std::nullopt;
    }
    if (name == EnabledAttribute) {
        const atspi::ItemStates current = states();
        return current.valid ? std::optional<QVariant>(current.enabled) : std::nullopt;
    }
    if (name == PositionAttribute) {
        return position();
    }
    if (name == MarkCharAttribute) {
        return markOf(states());
    }
    if (name == CmdCharAttribute || name == CmdVirtualKeyAttribute ||
        name == CmdModifiersAttribute) {
        return keyAttribute(name);
    }
    return std::nullopt;
}

std::optional<QVariant> AtspiElementNode::title()
{
    if (m_kind == Kind::MenuItem || m_kind == Kind::MenuBarItem) {
        const std::optional<AtspiRole> itemRole = role();
        if (!itemRole) {
            return std::nullopt;
        }
        if (*itemRole == ATSPI_ROLE_SEPARATOR) {
            return QVariant(QString());
        }
    }
    if (m_name) {
        return QVariant(atspi::itemTitle(m_name->toUtf8().constData()));
    }
    GError* error = nullptr;
    gchar* name = atspi_accessible_get_name(m_object.get(), &error);
    if (failed(error)) {
        g_free(name);
        return std::nullopt;
    }
    const QString title = atspi::itemTitle(name);
    g_free(name);
    return QVariant(title);
}

std::optional<QVariant> AtspiElementNode::position()
{
    // GTK marks hidden items by the missing VISIBLE state (items of closed
    // menus are visible but not showing); Qt leaves hidden items without any
    // state and without the Component interface, and visible items of closed
    // menus without VISIBLE.
    const atspi::ItemStates current = states();
    if (!current.valid) {
        return std::nullopt;
    }
    if (m_gtk) {
        if (!current.visible) {
            return std::nullopt;
        }
    } else if (AtspiComponent* component = atspi_accessible_get_component_iface(m_object.get())) {
        g_object_unref(component);
    } else {
        return std::nullopt;
    }
    // Items of closed menus report placeholder extents; only an item on
    // screen has a position worth asking for.
    if (current.showing) {
        if (AtspiComponent* component = atspi_accessible_get_component_iface(m_object.get())) {
            GError* error = nullptr;
            AtspiPoint* point =
                atspi_component_get_position(component, ATSPI_COORD_TYPE_SCREEN, &error);
            g_object_unref(component);
            if (!failed(error) && point) {
                const QPointF value(point->x, point->y);
                g_free(point);
                return QVariant(value);
            }
            g_free(point);
        }
    }
    return QVariant(QPointF());
}

std::optional<MenuKeyBinding> AtspiElementNode::keyBinding()
{
    if (!m_keyBinding) {
        m_keyBinding = readKeyBinding();
    }
    return *m_keyBinding;
}

std::optional<MenuKeyBinding> AtspiElementNode::readKeyBinding()
{
    const std::optional<QString> text = readKeyBindingText();
    if (!text || text->size() > atspi::MaximumKeyBindingLength || text->trimmed().isEmpty()) {
        return std::nullopt;
    }
    // An item that opens a submenu has no key equivalent: what Qt publishes
    // for one is its mnemonic.
    const std::optional<GObjectRef<AtspiAccessible>> submenu = submenuObject();
    if (!submenu || *submenu) {
        return std::nullopt;
    }
    // Only Qt's key sequences need the title, to tell mnemonics from shortcuts.
    if (MenuKeyBinding::formOf(*text) != MenuKeyBinding::Form::KeySequence) {
        return atspi::itemKeyBinding(*text, QString());
    }
    const std::optional<QVariant> itemTitle = title();
    return atspi::itemKeyBinding(*text, itemTitle ? itemTitle->toString() : QString());
}

std::optional<QString> AtspiElementNode::readKeyBindingText()
{
    if (m_keyBindingText) {
        return m_keyBindingText;
    }
    AtspiAction* action = atspi_accessible_get_action_iface(m_object.get());
    if (!action) {
        return std::nullopt;
    }
    GError* error = nullptr;
    gchar* binding = atspi_action_get_key_binding(action, 0, &error);
    g_object_unref(action);
    if (failed(error) || !binding) {
        g_free(binding);
        return std::nullopt;
    }
    // A text longer than any key binding is not converted whole: it names
    // no key either way.
    const qsizetype length = qstrnlen(binding, atspi::MaximumKeyBindingLength * 4 + 1);
    const QString text = QString::fromUtf8(binding, length);
    g_free(binding);
    return text;
}

std::optional<QVariant> AtspiElementNode::keyAttribute(const QString& name)
{
    return keyAttributeOf(keyBinding(), name);
}

QVariant AtspiElementNode::roleOfKind(Kind kind)
{
    switch (kind) {
    case Kind::Application:
        return QVariant(QString(ApplicationRole));
    case Kind::MenuBar:
        return QVariant(QString(MenuBarRole));
    case Kind::MenuBarItem:
        return QVariant(QString(MenuBarItemRole));
    case Kind::MenuItem:
        return QVariant(QString(MenuItemRole));
    case Kind::Menu:
        break;
    }
    return QVariant(QString(MenuRole));
}

std::optional<QVariant> AtspiElementNode::markOf(const atspi::ItemStates& states)
{
    if (states.checked) {
        return QVariant(QString(QChar(CheckedMark)));
    }
    if (states.indeterminate) {
        return QVariant(QString(QChar(MixedMark)));
    }
    return std::nullopt;
}

std::optional<QVariant>
AtspiElementNode::keyAttributeOf(const std::optional<MenuKeyBinding>& binding, const QString& name)
{
    if (!binding) {
        return std::nullopt;
    }
    if (name == CmdCharAttribute) {
        return binding->character().isEmpty() ? std::nullopt
                                              : std::optional<QVariant>(binding->character());
    }
    if (name == CmdVirtualKeyAttribute) {
        return binding->virtualKey() ? std::optional<QVariant>(*binding->virtualKey())
                                     : std::nullopt;
    }
    return QVariant(binding->modifiers());
}

std::optional<GObjectRef<AtspiAccessible>> AtspiElementNode::submenuObject()
{
    const std::optional<AtspiRole> itemRole = role();
    if (!itemRole) {
        return std::nullopt;
    }
    if (*itemRole == ATSPI_ROLE_MENU) {
        return m_object;
    }
    // GTK submenus are items of role menu; its other items have no children.
    if (*itemRole == ATSPI_ROLE_SEPARATOR || m_gtk) {
        return GObjectRef<AtspiAccessible>();
    }
    const std::optional<int> count = childCount(m_object.get());
    if (!count) {
        return std::nullopt;
    }
    // A real item has one child; an application that claims more is asked
    // about the first few only.
    const int probed = std::min(*count, atspi::SubmenuProbeLimit);
    QList<GObjectRef<AtspiAccessible>> probes;
    QList<std::optional<AtspiRole>> roles;
    for (int i = 0; i < probed; ++i) {
        GObjectRef<AtspiAccessible> child = childAt(m_object.get(), i);
        roles.append(child ? roleOf(child.get()) : std::nullopt);
        probes.append(std::move(child));
    }
    const int index = atspi::submenuChildIndex(roles);
    return index < 0 ? GObjectRef<AtspiAccessible>() : probes.at(index);
}

std::optional<QVariant> AtspiElementNode::children()
{
    AccessibilityElementList elements;
    switch (m_kind) {
    case Kind::Application: {
        const std::optional<QVariant> bar = menuBar();
        if (bar) {
            elements.append(accessibilityElementFromVariant(*bar));
        }
        break;
    }
    case Kind::MenuBarItem:
    case Kind::MenuItem: {
        const std::optional<GObjectRef<AtspiAccessible>> submenu = submenuObject();
        if (!submenu) {
            return std::nullopt;
        }
        // A menu that publishes its entries only while it is open has none
        // now: the item stands for the application's own menu, and pressing
        // it opens that menu.
        if (*submenu && !(submenu->get() == m_object.get() && opensOnPress())) {
            elements.append(AccessibilityElement(
                std::make_shared<AtspiElementNode>(*submenu, Kind::Menu, m_pid, m_gtk)));
        }
        break;
    }
    case Kind::MenuBar:
    case Kind::Menu: {
        const std::optional<int> count = childCount(m_object.get());
        if (!count) {
            return std::nullopt;
        }
        if (m_kind == Kind::MenuBar) {
            elements.append(WindowMenuNode::menuBarItem(m_pid));
        }
        // Each child costs a request: at most MaximumMenuChildren are read,
        // within one deadline, and reading ends at the first request that
        // times out. What is left is reported, not read.
        const atspi::ChildrenToRead toRead = atspi::childrenToRead(*count);
        const QDeadlineTimer deadline = AccessibilityReadBudget::bound(
            QDeadlineTimer(qint64(atspi::messagingTimeoutMs()) * ChildrenDeadlineTimeouts));
        const quint64 timedOutBefore = atspi::timedOutRequests();
        const Kind childKind = m_kind == Kind::MenuBar ? Kind::MenuBarItem : Kind::MenuItem;
        int i = 0;
        for (; i < toRead.read; ++i) {
            if (deadline.hasExpired() || atspi::timedOutRequests() != timedOutBefore) {
                break;
            }
            GObjectRef<AtspiAccessible> child = childAt(m_object.get(), i);
            if (child) {
                elements.append(AccessibilityElement(
                    std::make_shared<AtspiElementNode>(child, childKind, m_pid, m_gtk)));
            }
        }
        m_omittedChildren = toRead.omitted + (toRead.read - i);
        break;
    }
    }
    return QVariant::fromValue(elements);
}

std::optional<qint64> AtspiElementNode::attributeValueCount(const QString& name)
{
    if (name != ChildrenAttribute || m_kind != Kind::Menu) {
        return AccessibilityNode::attributeValueCount(name);
    }
    // One request, whatever the length: the entries themselves are asked
    // for a run at a time.
    const std::optional<int> count = childCount(m_object.get());
    if (!count) {
        return std::nullopt;
    }
    const atspi::ChildrenToRead toRead = atspi::childrenToRead(*count);
    m_omittedChildren = toRead.omitted;
    return toRead.read;
}

std::optional<QVariant> AtspiElementNode::copyAttributeValues(const QString& name, qint64 index,
                                                              qint64 maxValues)
{
    if (name != ChildrenAttribute || m_kind != Kind::Menu) {
        return AccessibilityNode::copyAttributeValues(name, index, maxValues);
    }
    // Entries past the most ever read are never asked for; a run ends at
    // the first request that times out.
    const qint64 end = std::min<qint64>(index + maxValues, accessibility::MaximumMenuChildren);
    const quint64 timedOutBefore = atspi::timedOutRequests();
    const QDeadlineTimer deadline = AccessibilityReadBudget::bound(
        QDeadlineTimer(qint64(atspi::messagingTimeoutMs()) * ChildrenDeadlineTimeouts));
    QList<GObjectRef<AtspiAccessible>> children;
    bool timedOut = false;
    for (qint64 i = index; i < end && !deadline.hasExpired(); ++i) {
        GObjectRef<AtspiAccessible> child = childAt(m_object.get(), int(i));
        if (atspi::timedOutRequests() != timedOutBefore) {
            timedOut = true;
            break;
        }
        if (child) {
            children.append(child);
        }
    }
    // The entries' own requests go out together (see prefetchEntries).
    QList<AtspiAccessible*> objects;
    for (const GObjectRef<AtspiAccessible>& child : std::as_const(children)) {
        objects.append(child.get());
    }
    const QList<atspi::EntryAnswers> answers = timedOut || deadline.hasExpired()
                                                   ? QList<atspi::EntryAnswers>()
                                                   : atspi::prefetchEntries(objects, deadline);
    AccessibilityElementList elements;
    for (qsizetype i = 0; i < children.size(); ++i) {
        auto node =
            std::make_shared<AtspiElementNode>(children.at(i), Kind::MenuItem, m_pid, m_gtk);
        if (i < answers.size()) {
            node->prefill(answers.at(i));
        }
        elements.append(AccessibilityElement(node));
    }
    if (timedOut && elements.isEmpty()) {
        return std::nullopt;
    }
    return QVariant::fromValue(elements);
}

bool AtspiElementNode::opensOnPress()
{
    // GTK publishes the entries of closed menus: one without any is empty.
    if (m_gtk) {
        return false;
    }
    const std::optional<int> count = childCount(m_object.get());
    if (!count || *count > 0) {
        return false;
    }
    AtspiAction* action = atspi_accessible_get_action_iface(m_object.get());
    if (!action) {
        return false;
    }
    GError* error = nullptr;
    const gint actions = atspi_action_get_n_actions(action, &error);
    g_object_unref(action);
    return !failed(error) && actions > 0;
}

void AtspiElementNode::prefill(const atspi::EntryAnswers& answers)
{
    if (answers.role) {
        // A number past the roles libatspi knows is no role of a menu entry.
        m_role = *answers.role < uint(ATSPI_ROLE_LAST_DEFINED) ? AtspiRole(*answers.role)
                                                               : ATSPI_ROLE_UNKNOWN;
    }
    if (answers.states) {
        m_states = atspi::itemStates(*answers.states);
        m_statesAge.start();
    }
    m_name = answers.name;
    m_keyBindingText = answers.keyBinding;
}

std::optional<QVariant> AtspiElementNode::menuBar()
{
    // One budget for the whole search, however many windows there are.
    MenuBarSearch search(AccessibilityReadBudget::bound(
        QDeadlineTimer(atspi::messagingTimeoutMs() + MenuBarSearchGraceMs)));
    const std::optional<int> count = childCount(m_object.get());
    if (!count) {
        return std::nullopt;
    }
    // The active window's menu bar first; with one window there is nothing
    // to order.
    QList<GObjectRef<AtspiAccessible>> windows;
    for (int i = 0; i < *count && !search.hasGivenUp(); ++i) {
        GObjectRef<AtspiAccessible> window = childAt(m_object.get(), i);
        if (!window) {
            continue;
        }
        if (*count > 1 && isActiveWindow(window.get())) {
            windows.prepend(window);
        } else {
            windows.append(window);
        }
    }
    for (const GObjectRef<AtspiAccessible>& window : std::as_const(windows)) {
        GObjectRef<AtspiAccessible> bar = search.find(window);
        if (bar) {
            return QVariant::fromValue(AccessibilityElement(std::make_shared<AtspiElementNode>(
                bar, Kind::MenuBar, m_pid, isGtkApplication(m_object.get()))));
        }
    }
    return std::nullopt;
}

std::optional<QVariant> AtspiElementNode::wholeMenuBar()
{
    const AtspiObject& object = m_object.get()->parent;
    if (!object.app || !object.app->bus_name) {
        return std::nullopt;
    }
    const atspi::MenuSnapshotRead read = atspi::readMenuSnapshot(
        QString::fromUtf8(object.app->bus_name), m_pid, isGtkApplication(m_object.get()));
    if (!read.snapshot) {
        return std::nullopt;
    }
    const QString menuBar = read.snapshot->menuBar;
    return QVariant::fromValue(AccessibilityElement(std::make_shared<atspi::AtspiSnapshotNode>(
        read.snapshot, menuBar, atspi::AtspiSnapshotNode::Kind::MenuBar)));
}

bool AtspiElementNode::performAction(const QString& name, ActionReplyHandler replied)
{
    if (name != PressAction) {
        return false;
    }
    AtspiAction* action = atspi_accessible_get_action_iface(m_object.get());
    if (!action) {
        return false;
    }
    GError* error = nullptr;
    const gint count = atspi_action_get_n_actions(action, &error);
    bool done = false;
    if (!failed(error) && count > 0) {
        // Items press with "click" (GTK) or "Press" (Qt); menu-bar items of Qt
        // open with "ShowMenu". The first action is the fallback.
        // Items have one or two actions; an application that claims more
        // is asked about the first few only.
        gint chosen = 0;
        for (gint i = 0; i < std::min<gint>(count, ActionNameLimit); ++i) {
            const QString actionName =
                takeString(atspi_action_get_action_name(action, i, &error)).toLower();
            if (failed(error)) {
                break;
            }
            if (actionName == QStringLiteral("click") || actionName == QStringLiteral("press") ||
                actionName == QStringLiteral("activate") || actionName == QStringLiteral("open")) {
                chosen = i;
                break;
            }
        }
        // Sent without waiting: the application may answer only after a
        // dialog the item opened has closed.
        done = atspi::sendDoAction(m_object.get(), chosen, std::move(replied));
    }
    g_object_unref(action);
    return done;
}

bool AtspiElementNode::setMessagingTimeout(float)
{
    return false;
}

bool AtspiElementNode::isSameElement(const AccessibilityNode& other) const
{
    const auto* node = dynamic_cast<const AtspiElementNode*>(&other);
    return node && node->m_kind == m_kind && node->m_object.get() == m_object.get();
}

} // namespace platform
