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

namespace platform::atspi {

using namespace platform::accessibility;

namespace {

// How many messaging timeouts asking a menu's entries for their key
// bindings may take.
constexpr int KeyBindingsDeadlineTimeouts = 2;

// Menus longer than this keep the order the snapshot gives their entries:
// GTK finds each child of a menu by walking its list, so listing the
// children of a long menu costs the square of its length.
constexpr qsizetype SettledChildrenLimit = 500;

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
            settleChildren();
            elements.append(WindowMenuNode::menuBarItem(m_snapshot->pid));
            for (const QString& child : object().children) {
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
    settleChildren();
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

void AtspiSnapshotNode::settleChildren()
{
    const auto self = m_snapshot->objects.find(m_path);
    if (self == m_snapshot->objects.end() || self->childrenSettled) {
        return;
    }
    self->childrenSettled = true;
    const QList<QString> expected = self->children;
    const bool listChildren = expected.size() <= SettledChildrenLimit;
    QList<PathRequests> requests;
    if (listChildren) {
        requests.append({m_path, {EntryRequest::Children}});
    }
    for (const QString& child : expected) {
        if (needsKeyBinding(*m_snapshot, child)) {
            requests.append({child, {EntryRequest::KeyBinding}});
        }
    }
    const QDeadlineTimer deadline = AccessibilityReadBudget::bound(
        QDeadlineTimer(qint64(messagingTimeoutMs()) * KeyBindingsDeadlineTimeouts));
    const QList<EntryAnswers> answers = prefetchPaths(m_snapshot->busName, requests, deadline);
    for (qsizetype i = listChildren ? 1 : 0; i < answers.size(); ++i) {
        if (answers.at(i).keyBinding) {
            m_snapshot->keyBindings.insert(requests.at(i).path, *answers.at(i).keyBinding);
        }
    }
    if (!listChildren || answers.isEmpty() || !answers.constFirst().children) {
        return;
    }
    // The application's own list holds: entries the snapshot lacks are
    // asked for what it would have said, entries it no longer lists go.
    QList<QString> listed;
    QList<PathRequests> unknown;
    for (const auto& [service, path] : *answers.constFirst().children) {
        if (service != m_snapshot->busName) {
            continue;
        }
        listed.append(path);
        if (m_snapshot->reaskEntries || !m_snapshot->objects.contains(path)) {
            QList<EntryRequest> asked{EntryRequest::Name, EntryRequest::Role, EntryRequest::States,
                                      EntryRequest::KeyBinding};
            if (!m_snapshot->gtk) {
                // Another toolkit's submenu hangs below the entry, and a
                // hidden entry lacks the Component interface.
                asked.append(EntryRequest::Children);
                asked.append(EntryRequest::Interfaces);
            }
            unknown.append({path, asked});
        }
    }
    const QList<EntryAnswers> found = unknown.isEmpty()
                                          ? QList<EntryAnswers>()
                                          : prefetchPaths(m_snapshot->busName, unknown, deadline);
    QSet<QString> unanswered;
    QList<PathRequests> probes;
    for (qsizetype i = 0; i < unknown.size(); ++i) {
        const QString& path = unknown.at(i).path;
        const EntryAnswers* answer = i < found.size() ? &found.at(i) : nullptr;
        if (!answer || !answer->role || !answer->states) {
            unanswered.insert(path);
            continue;
        }
        CachedObject object;
        object.parent = m_path;
        object.index = -1;
        object.name = itemTitle(answer->name.value_or(QString()).toUtf8().constData());
        object.role = *answer->role;
        object.states[0] = quint32(*answer->states);
        object.states[1] = quint32(*answer->states >> 32);
        object.lacksComponent = answer->component == false;
        for (const auto& [service, child] :
             answer->children.value_or(QList<std::pair<QString, QString>>())) {
            if (service == m_snapshot->busName && object.children.size() < SubmenuProbeLimit) {
                object.children.append(child);
                probes.append({child, {EntryRequest::Role, EntryRequest::Children}});
            }
        }
        m_snapshot->objects.insert(path, object);
        if (answer->keyBinding) {
            m_snapshot->keyBindings.insert(path, *answer->keyBinding);
        }
    }
    // The children of such entries, to find the one that holds a submenu.
    const QList<EntryAnswers> probed = probes.isEmpty()
                                           ? QList<EntryAnswers>()
                                           : prefetchPaths(m_snapshot->busName, probes, deadline);
    for (qsizetype i = 0; i < probed.size() && i < probes.size(); ++i) {
        if (!probed.at(i).role) {
            continue;
        }
        CachedObject object;
        object.parent = m_path;
        object.index = -1;
        object.role = *probed.at(i).role;
        for (const auto& [service, child] :
             probed.at(i).children.value_or(QList<std::pair<QString, QString>>())) {
            if (service == m_snapshot->busName) {
                object.children.append(child);
            }
        }
        m_snapshot->objects.insert(probes.at(i).path, object);
    }
    listed.removeIf([&unanswered](const QString& path) { return unanswered.contains(path); });
    m_snapshot->objects[m_path].children = listed;
}

AccessibilityElementList AtspiSnapshotNode::entries(qint64 index, qint64 count)
{
    settleChildren();
    const QList<QString> children = object().children;
    const qint64 first = std::clamp<qint64>(index, 0, children.size());
    const qint64 end =
        std::clamp<qint64>(first + std::max<qint64>(count, 0), first, children.size());
    AccessibilityElementList elements;
    for (qint64 i = first; i < end; ++i) {
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
