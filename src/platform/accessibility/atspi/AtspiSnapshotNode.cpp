#include "platform/accessibility/atspi/AtspiSnapshotNode.h"

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/AccessibilityReadBudget.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiEntryPrefetch.h"
#include "platform/accessibility/atspi/AtspiItemReplies.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "platform/accessibility/atspi/WindowMenuNode.h"

#include <QDeadlineTimer>
#include <QPointF>
#include <QSet>
#include <algorithm>
#include <limits>

namespace platform::atspi {

using namespace platform::accessibility;

namespace {

// How many messaging timeouts asking a menu's entries for their key
// bindings may take.
constexpr int KeyBindingsDeadlineTimeouts = 2;

// Menus longer than this are not listed: GTK finds each child of a menu by
// walking its list, so listing the children of a long menu costs the square
// of its length. Their entries are the snapshot's, or asked for by index.
constexpr qsizetype SettledChildrenLimit = 500;

const QString NullPath = QStringLiteral("/org/a11y/atspi/null");

// Entries made known together: a pop-up's first screenful in one round.
constexpr qint64 SettleRun = 40;

// Rounds of requests one settling takes at most: the listing with the
// entries expected, entries the listing brought, Qt's submenu probes.
constexpr int SettleRounds = 4;

bool isEntryRole(uint role)
{
    return role != ATSPI_ROLE_SEPARATOR && role != ATSPI_ROLE_TEAROFF_MENU_ITEM;
}

// The object that holds the entries of the submenu an entry opens; empty
// for an entry without one.
QString submenuOf(const MenuSnapshot& snapshot, const QString& path)
{
    const auto found = snapshot.objects.constFind(path);
    if (found == snapshot.objects.cend()) {
        return QString();
    }
    const CachedObject& entry = *found;
    if (entry.role == ATSPI_ROLE_MENU) {
        // A menu that publishes its entries only while it is open has none
        // now: the entry stands for the application's own menu, and
        // pressing it opens that menu. GTK publishes closed menus whole.
        return !snapshot.gtk && entry.children.isEmpty() ? QString() : path;
    }
    if (!isEntryRole(entry.role) || snapshot.gtk) {
        return QString();
    }
    return cachedSubmenuOf(entry, snapshot.objects);
}

// Whether the entry's key binding is still to be asked for: entries that
// open a submenu have none.
bool needsKeyBinding(const MenuSnapshot& snapshot, const QString& path)
{
    const auto found = snapshot.objects.constFind(path);
    return found != snapshot.objects.cend() && isEntryRole(found->role) &&
           submenuOf(snapshot, path).isEmpty() && !snapshot.keyBindings.contains(path);
}

} // namespace

AtspiSnapshotNode::AtspiSnapshotNode(std::shared_ptr<MenuSnapshot> snapshot, QString path,
                                     Kind kind)
    : m_snapshot(std::move(snapshot)), m_path(std::move(path)), m_kind(kind)
{}

const CachedObject& AtspiSnapshotNode::object() const
{
    static const CachedObject none;
    const auto found = m_snapshot->objects.constFind(m_path);
    return found == m_snapshot->objects.cend() ? none : *found;
}

std::optional<QVariant> AtspiSnapshotNode::copyAttribute(const QString& name)
{
    const CachedObject entry = object();
    if (name == RoleAttribute) {
        return AtspiElementNode::roleOfKind(m_kind);
    }
    if (name == TitleAttribute) {
        const bool item = m_kind == Kind::MenuItem || m_kind == Kind::MenuBarItem;
        return QVariant(item && !isEntryRole(entry.role) ? QString() : entry.name);
    }
    if (name == ChildrenAttribute) {
        AccessibilityElementList elements;
        if (m_kind == Kind::MenuBar) {
            settle(0, accessibility::MaximumMenuChildren);
            elements.append(WindowMenuNode::menuBarItem(m_snapshot->pid));
            for (const QString& child : object().children) {
                if (!isShown(child)) {
                    continue;
                }
                elements.append(AccessibilityElement(
                    std::make_shared<AtspiSnapshotNode>(m_snapshot, child, Kind::MenuBarItem)));
            }
        } else if (m_kind == Kind::Menu) {
            elements = entries(0, accessibility::MaximumMenuChildren);
        } else if (m_kind == Kind::MenuBarItem || m_kind == Kind::MenuItem) {
            const QString submenu = submenuPath();
            if (!submenu.isEmpty()) {
                elements.append(AccessibilityElement(
                    std::make_shared<AtspiSnapshotNode>(m_snapshot, submenu, Kind::Menu)));
            }
        }
        return QVariant::fromValue(elements);
    }
    if (name == OmittedChildCountAttribute) {
        if (m_kind != Kind::Menu && m_kind != Kind::MenuBar) {
            return std::nullopt;
        }
        return QVariant(std::max<qint64>(0, qint64(entry.childCount) - entry.children.size()));
    }
    if (m_kind != Kind::MenuBarItem && m_kind != Kind::MenuItem) {
        return std::nullopt;
    }
    const ItemStates states = itemStates(entry.stateBits());
    if (name == EnabledAttribute) {
        return QVariant(states.enabled);
    }
    if (name == PositionAttribute) {
        // GTK marks hidden entries by the missing VISIBLE state; entries of
        // closed menus have placeholder extents, so none is asked for.
        if (m_snapshot->gtk ? !states.visible : entry.lacksComponent) {
            return std::nullopt;
        }
        return QPointF();
    }
    if (name == MarkCharAttribute) {
        return AtspiElementNode::markOf(states);
    }
    if (name == CmdCharAttribute || name == CmdVirtualKeyAttribute ||
        name == CmdModifiersAttribute) {
        return AtspiElementNode::keyAttributeOf(keyBinding(), name);
    }
    return std::nullopt;
}

std::optional<qint64> AtspiSnapshotNode::attributeValueCount(const QString& name)
{
    if (name != ChildrenAttribute || m_kind != Kind::Menu) {
        return AccessibilityNode::attributeValueCount(name);
    }
    settle(0, 0);
    return object().children.size();
}

std::optional<QVariant> AtspiSnapshotNode::copyAttributeValues(const QString& name, qint64 index,
                                                               qint64 maxValues)
{
    if (name != ChildrenAttribute || m_kind != Kind::Menu) {
        return AccessibilityNode::copyAttributeValues(name, index, maxValues);
    }
    return QVariant::fromValue(entries(index, maxValues));
}

bool AtspiSnapshotNode::isKnown(const QString& path) const
{
    return m_snapshot->objects.contains(path) &&
           (!m_snapshot->reaskEntries || m_snapshot->asked.contains(path));
}

bool AtspiSnapshotNode::isShown(const QString& path) const
{
    return !path.isEmpty() && isKnown(path) && !m_snapshot->unanswered.contains(path);
}

void AtspiSnapshotNode::settle(qint64 first, qint64 wanted)
{
    auto self = m_snapshot->objects.find(m_path);
    if (self == m_snapshot->objects.end() ||
        (self->childrenSettled && first + wanted <= m_settledEnd)) {
        return;
    }
    const QDeadlineTimer deadline = AccessibilityReadBudget::bound(
        QDeadlineTimer(qint64(messagingTimeoutMs()) * KeyBindingsDeadlineTimeouts));
    const QString& busName = m_snapshot->busName;
    bool list = false;
    bool count = false;
    if (!self->childrenSettled) {
        self->childrenSettled = true;
        const qint64 length = self->children.isEmpty() ? self->childCount : self->children.size();
        if (length < 0) {
            // Nothing is known of the menu's entries (its entry was asked
            // about on its own): they are asked for by index, together
            // with how many there are, and nothing is made of those not
            // shown.
            count = true;
        } else if (length > SettledChildrenLimit) {
            if (self->children.isEmpty()) {
                // Slots, filled by index as they are read.
                self->children =
                    QList<QString>(std::min<qint64>(length, accessibility::MaximumMenuChildren));
            }
        } else {
            list = true;
        }
    }
    const qint64 end = first + std::max(wanted, SettleRun);
    QList<Ask> probes;
    QSet<QString> keyBindingsAsked;
    const quint64 timedOutBefore = timedOutRequests();
    for (int round = 0; round < SettleRounds; ++round) {
        QList<Ask> asks;
        if (list) {
            asks.append({{m_path, {EntryRequest::Children}}, Ask::Listing});
            list = false;
        }
        if (count) {
            asks.append({{m_path, {EntryRequest::ChildCount}}, Ask::Length});
            for (qint64 i = first; i < end; ++i) {
                asks.append({{m_path, {EntryRequest::ChildAtIndex}, int(i)}, Ask::ChildAt});
            }
            count = false;
        }
        const QList<QString> children = m_snapshot->objects.value(m_path).children;
        for (qint64 i = std::max<qint64>(first, 0); i < std::min<qint64>(end, children.size());
             ++i) {
            const QString& path = children.at(i);
            if (path.isEmpty()) {
                if (round == 0) {
                    asks.append({{m_path, {EntryRequest::ChildAtIndex}, int(i)}, Ask::ChildAt});
                }
            } else if (!m_snapshot->asked.contains(path) && !isKnown(path)) {
                asks.append(askAbout(path));
            } else if (isKnown(path) && needsKeyBinding(*m_snapshot, path) &&
                       !keyBindingsAsked.contains(path)) {
                keyBindingsAsked.insert(path);
                asks.append({{path, {EntryRequest::KeyBinding}}, Ask::KeyBinding});
            }
        }
        asks.append(probes);
        probes.clear();
        if (asks.isEmpty()) {
            break;
        }
        QList<PathRequests> requests;
        for (const Ask& ask : std::as_const(asks)) {
            requests.append(ask.request);
        }
        const QList<EntryAnswers> answers = prefetchPaths(busName, requests, deadline);
        for (qsizetype i = 0; i < asks.size(); ++i) {
            take(asks.at(i), i < answers.size() ? &answers.at(i) : nullptr, probes);
        }
        if (timedOutRequests() != timedOutBefore) {
            break; // the application stopped answering: nothing more is asked
        }
    }
    m_settledEnd = std::max(m_settledEnd, end);
}

AtspiSnapshotNode::Ask AtspiSnapshotNode::askAbout(const QString& path) const
{
    m_snapshot->asked.insert(path);
    const bool gtk = m_snapshot->gtk;
    const auto known = m_snapshot->objects.constFind(path);
    if (known == m_snapshot->objects.cend()) {
        QList<EntryRequest> asked{EntryRequest::Name, EntryRequest::Role, EntryRequest::States,
                                  EntryRequest::KeyBinding};
        if (!gtk) {
            // Another toolkit's submenu hangs below the entry, and a hidden
            // entry lacks the Component interface.
            asked.append(EntryRequest::Children);
            asked.append(EntryRequest::Interfaces);
        }
        return {{path, asked}, Ask::Whole};
    }
    // An entry of a kept read, asked again because its application does not
    // tell about changes: an object keeps its role, so only what can change
    // on it is asked (its title, states, whether it is shown, the key of an
    // entry without a submenu, and, for toolkits that hang a submenu below
    // the entry, its children: probed again only where they changed).
    QList<EntryRequest> asked{EntryRequest::Name, EntryRequest::States};
    if (!gtk) {
        asked.append(EntryRequest::Interfaces);
        asked.append(EntryRequest::Children);
    }
    if (isEntryRole(known->role) && submenuOf(*m_snapshot, path).isEmpty()) {
        asked.append(EntryRequest::KeyBinding);
    }
    return {{path, asked}, Ask::Refresh};
}

void AtspiSnapshotNode::take(const Ask& ask, const EntryAnswers* answer, QList<Ask>& probes)
{
    const QString& busName = m_snapshot->busName;
    const QString& path = ask.request.path;
    const auto ownPaths = [&busName](const QList<std::pair<QString, QString>>& references) {
        QList<QString> paths;
        for (const auto& [service, child] : references) {
            if (service == busName) {
                paths.append(child);
            }
        }
        return paths;
    };
    switch (ask.kind) {
    case Ask::Listing:
        // The application's own list holds.
        if (answer && answer->children) {
            CachedObject& menu = m_snapshot->objects[m_path];
            menu.children = ownPaths(*answer->children);
            menu.childCount = -1;
        }
        return;
    case Ask::Length: {
        // Asked before the children by index: the slots are there for their
        // answers.
        const qint64 length = answer ? answer->childCount.value_or(0) : 0;
        CachedObject& menu = m_snapshot->objects[m_path];
        menu.childCount = int(std::min<qint64>(length, std::numeric_limits<int>::max()));
        menu.children =
            QList<QString>(std::min<qint64>(length, accessibility::MaximumMenuChildren));
        return;
    }
    case Ask::ChildAt: {
        CachedObject& menu = m_snapshot->objects[m_path];
        const int index = ask.request.index;
        if (answer && answer->child && answer->child->first == busName &&
            answer->child->second != NullPath && index < menu.children.size()) {
            menu.children[index] = answer->child->second;
        }
        return;
    }
    case Ask::KeyBinding:
        if (answer && answer->keyBinding) {
            m_snapshot->keyBindings.insert(path, *answer->keyBinding);
        }
        return;
    case Ask::Probe: {
        // The child of a Qt item that may hold its submenu.
        if (!answer || !answer->role) {
            return;
        }
        CachedObject object;
        object.parent = m_path;
        object.index = -1;
        object.role = *answer->role;
        object.children = ownPaths(answer->children.value_or(QList<std::pair<QString, QString>>()));
        m_snapshot->objects.insert(path, object);
        return;
    }
    case Ask::Whole:
    case Ask::Refresh:
        break;
    }
    if (!answer || !answer->states || (ask.kind == Ask::Whole && !answer->role)) {
        m_snapshot->unanswered.insert(path);
        return;
    }
    m_snapshot->unanswered.remove(path);
    CachedObject& object = m_snapshot->objects[path];
    object.name = itemTitle(answer->name.value_or(QString()).toUtf8().constData());
    object.states[0] = quint32(*answer->states);
    object.states[1] = quint32(*answer->states >> 32);
    if (answer->component) {
        object.lacksComponent = !*answer->component;
    }
    if (answer->keyBinding) {
        m_snapshot->keyBindings.insert(path, *answer->keyBinding);
    }
    QList<QString> children =
        ownPaths(answer->children.value_or(QList<std::pair<QString, QString>>()));
    children = children.mid(0, SubmenuProbeLimit);
    if (ask.kind == Ask::Refresh) {
        if (!answer->children || children == object.children) {
            return; // the same submenu object (or none) as when it was read
        }
    } else {
        object.parent = m_path;
        object.index = -1;
        object.role = *answer->role;
    }
    object.children = children;
    for (const QString& child : std::as_const(children)) {
        probes.append({{child, {EntryRequest::Role, EntryRequest::Children}}, Ask::Probe});
    }
}

AccessibilityElementList AtspiSnapshotNode::entries(qint64 index, qint64 count)
{
    settle(std::max<qint64>(index, 0), std::max<qint64>(count, 0));
    const QList<QString> children = object().children;
    const qint64 first = std::clamp<qint64>(index, 0, children.size());
    const qint64 end =
        std::clamp<qint64>(first + std::max<qint64>(count, 0), first, children.size());
    AccessibilityElementList elements;
    for (qint64 i = first; i < end; ++i) {
        if (!isShown(children.at(i))) {
            continue;
        }
        elements.append(AccessibilityElement(
            std::make_shared<AtspiSnapshotNode>(m_snapshot, children.at(i), Kind::MenuItem)));
    }
    return elements;
}

QString AtspiSnapshotNode::submenuPath() const
{
    return submenuOf(*m_snapshot, m_path);
}

std::optional<MenuKeyBinding> AtspiSnapshotNode::keyBinding()
{
    const CachedObject entry = object();
    if (!isEntryRole(entry.role) || !submenuPath().isEmpty()) {
        // An entry that opens a submenu has no key equivalent: what Qt
        // publishes for one is its mnemonic.
        return std::nullopt;
    }
    auto known = m_snapshot->keyBindings.constFind(m_path);
    if (known == m_snapshot->keyBindings.cend()) {
        const QList<EntryAnswers> read =
            prefetchPaths(m_snapshot->busName, {{m_path, {EntryRequest::KeyBinding}}},
                          QDeadlineTimer(messagingTimeoutMs()));
        if (read.isEmpty() || !read.constFirst().keyBinding) {
            return std::nullopt;
        }
        known = m_snapshot->keyBindings.insert(m_path, *read.constFirst().keyBinding);
    }
    const QString& text = *known;
    if (text.size() > MaximumKeyBindingLength || text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return itemKeyBinding(text, entry.name);
}

bool AtspiSnapshotNode::performAction(const QString& name, ActionReplyHandler replied)
{
    if (name != PressAction || (m_kind != Kind::MenuItem && m_kind != Kind::MenuBarItem)) {
        return false;
    }
    // Disabled GTK entries offer no action; a disabled entry of another
    // toolkit would ignore it.
    if (!itemStates(object().stateBits()).enabled) {
        return false;
    }
    return sendDoAction(m_snapshot->busName, m_path, 0, std::move(replied));
}

bool AtspiSnapshotNode::isSameElement(const AccessibilityNode& other) const
{
    const auto* node = dynamic_cast<const AtspiSnapshotNode*>(&other);
    return node && node->m_kind == m_kind && node->m_snapshot->busName == m_snapshot->busName &&
           node->m_path == m_path;
}

} // namespace platform::atspi
