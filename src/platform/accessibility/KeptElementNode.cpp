#include "platform/accessibility/KeptElementNode.h"

#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuWalkLimits.h"

#include <algorithm>

namespace platform {

namespace ax = accessibility;

namespace {

AccessibilityElement wrapped(const AccessibilityElement& element)
{
    if (element.isNull() || dynamic_cast<const KeptElementNode*>(element.node().get())) {
        return element;
    }
    return AccessibilityElement(std::make_shared<KeptElementNode>(element));
}

// Elements in a value stand for themselves as kept elements.
std::optional<QVariant> wrappedValue(std::optional<QVariant> value)
{
    if (!value) {
        return value;
    }
    if (value->metaType() == QMetaType::fromType<AccessibilityElement>()) {
        return QVariant::fromValue(wrapped(value->value<AccessibilityElement>()));
    }
    if (value->metaType() == QMetaType::fromType<AccessibilityElementList>()) {
        AccessibilityElementList elements = value->value<AccessibilityElementList>();
        for (AccessibilityElement& element : elements) {
            element = wrapped(element);
        }
        return QVariant::fromValue(elements);
    }
    return value;
}

// The attributes a pop-up reads of every item it shows.
const QLatin1StringView ItemAttributes[] = {
    ax::TitleAttribute,        ax::RoleAttribute,     ax::EnabledAttribute,
    ax::MarkCharAttribute,     ax::CmdCharAttribute,  ax::CmdVirtualKeyAttribute,
    ax::CmdModifiersAttribute, ax::PositionAttribute, ax::PrimaryUIElementAttribute};

class MenuBarKeeper
{
public:
    explicit MenuBarKeeper(const MenuBarReadDepth& depth)
        : m_depth(depth), m_timedOutBefore(Accessibility::current().timedOutRequests())
    {}

    bool stalled() const { return Accessibility::current().timedOutRequests() != m_timedOutBefore; }

    std::optional<QVariant> read(const AccessibilityElement& element, const QString& name)
    {
        if (stalled()) {
            return std::nullopt;
        }
        return element.copyAttribute(name);
    }

    // A menu's entries kept, down to the depth limit.
    AccessibilityElement keepMenu(const AccessibilityElement& menu, int level, bool descend)
    {
        auto node = std::make_shared<KeptElementNode>(menu);
        node->keep(ax::RoleAttribute, read(menu, ax::RoleAttribute));
        if (descend && level < MenuWalkLimits::DepthLimit) {
            AccessibilityElementList entries;
            for (const AccessibilityElement& entry : accessibilityElementListFromVariant(
                     read(menu, ax::ChildrenAttribute).value_or(QVariant()))) {
                entries.append(keepItem(entry, level + 1, true));
            }
            node->keep(ax::ChildrenAttribute, QVariant::fromValue(entries));
            node->keep(ax::OmittedChildCountAttribute, read(menu, ax::OmittedChildCountAttribute));
        }
        return AccessibilityElement(node);
    }

    AccessibilityElement keepItem(const AccessibilityElement& item, int level, bool descend)
    {
        auto node = std::make_shared<KeptElementNode>(item);
        for (const QLatin1StringView name : ItemAttributes) {
            node->keep(name, read(item, name));
        }
        const QString title =
            node->copyAttribute(ax::TitleAttribute).value_or(QVariant()).toString();
        if (level == 1) {
            descend = m_depth && (m_depth->isEmpty() || m_depth->contains(title.toLower()));
        }
        AccessibilityElementList children;
        for (const AccessibilityElement& child : accessibilityElementListFromVariant(
                 read(item, ax::ChildrenAttribute).value_or(QVariant()))) {
            children.append(keepMenu(child, level, descend));
        }
        node->keep(ax::ChildrenAttribute, QVariant::fromValue(children));
        return AccessibilityElement(node);
    }

private:
    MenuBarReadDepth m_depth;
    quint64 m_timedOutBefore;
};

} // namespace

KeptElementNode::KeptElementNode(AccessibilityElement live) : m_live(std::move(live)) {}

void KeptElementNode::keep(const QString& name, std::optional<QVariant> value)
{
    m_kept.insert(name, wrappedValue(std::move(value)));
}

std::optional<QVariant> KeptElementNode::copyAttribute(const QString& name)
{
    const auto kept = m_kept.constFind(name);
    if (kept != m_kept.cend()) {
        return *kept;
    }
    return wrappedValue(m_live.copyAttribute(name));
}

std::optional<qint64> KeptElementNode::attributeValueCount(const QString& name)
{
    const auto kept = m_kept.constFind(name);
    if (kept == m_kept.cend()) {
        return m_live.attributeValueCount(name);
    }
    if (!*kept) {
        return std::nullopt;
    }
    return accessibilityElementListFromVariant(**kept).size();
}

std::optional<QVariant> KeptElementNode::copyAttributeValues(const QString& name, qint64 index,
                                                             qint64 maxValues)
{
    const auto kept = m_kept.constFind(name);
    if (kept == m_kept.cend()) {
        return wrappedValue(m_live.copyAttributeValues(name, index, maxValues));
    }
    if (!*kept) {
        return std::nullopt;
    }
    const AccessibilityElementList all = accessibilityElementListFromVariant(**kept);
    const qint64 first = std::clamp<qint64>(index, 0, all.size());
    const qint64 count = std::clamp<qint64>(maxValues, 0, all.size() - first);
    return QVariant::fromValue(all.mid(first, count));
}

bool KeptElementNode::performAction(const QString& name, ActionReplyHandler replied)
{
    return m_live.performAction(name, std::move(replied));
}

bool KeptElementNode::isSameElement(const AccessibilityNode& other) const
{
    if (!m_live.node()) {
        return false;
    }
    const auto* kept = dynamic_cast<const KeptElementNode*>(&other);
    if (kept) {
        return m_live == kept->m_live;
    }
    return m_live.node().get() == &other || m_live.node()->isSameElement(other);
}

AccessibilityElement KeptElementNode::keepMenuBar(const AccessibilityElement& menuBar,
                                                  const MenuBarReadDepth& depth)
{
    if (menuBar.isNull()) {
        return {};
    }
    MenuBarKeeper keeper(depth);
    auto node = std::make_shared<KeptElementNode>(menuBar);
    node->keep(ax::RoleAttribute, keeper.read(menuBar, ax::RoleAttribute));
    AccessibilityElementList items;
    for (const AccessibilityElement& item : accessibilityElementListFromVariant(
             keeper.read(menuBar, ax::ChildrenAttribute).value_or(QVariant()))) {
        items.append(keeper.keepItem(item, 1, false));
    }
    node->keep(ax::ChildrenAttribute, QVariant::fromValue(items));
    if (keeper.stalled()) {
        return {};
    }
    return AccessibilityElement(node);
}

} // namespace platform
