#include "platform/accessibility/atspi/AtspiCachedItemNode.h"

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiMenuTree.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QDBusMessage>
#include <QPointF>

namespace platform::atspi {

using namespace platform::accessibility;

AtspiCachedItemNode::AtspiCachedItemNode(QString busName, QString path, qint64 pid,
                                         Snapshot snapshot)
    : m_busName(std::move(busName)), m_path(std::move(path)), m_pid(pid),
      m_snapshot(std::move(snapshot))
{}

std::optional<QVariant> AtspiCachedItemNode::copyAttribute(const QString& name)
{
    if (name == TitleAttribute) {
        return QVariant(m_snapshot.title);
    }
    if (name == RoleAttribute) {
        return QVariant(QString(MenuItemRole));
    }
    if (name == EnabledAttribute) {
        return QVariant(m_snapshot.enabled);
    }
    if (name == ChildrenAttribute) {
        return QVariant::fromValue(AccessibilityElementList());
    }
    if (name == PositionAttribute) {
        // Items of closed menus have placeholder extents: only whether the
        // item is shown at all is known, and asking would cost a request.
        return m_snapshot.visible ? std::optional<QVariant>(QPointF()) : std::nullopt;
    }
    if (name == MarkCharAttribute) {
        if (m_snapshot.checked) {
            return QVariant(QString(QChar(CheckedMark)));
        }
        if (m_snapshot.indeterminate) {
            return QVariant(QString(QChar(MixedMark)));
        }
        return std::nullopt;
    }
    if (name == CmdCharAttribute || name == CmdVirtualKeyAttribute ||
        name == CmdModifiersAttribute) {
        const std::optional<MenuKeyBinding> key = keyBinding();
        if (!key) {
            return std::nullopt;
        }
        if (name == CmdCharAttribute) {
            return key->character().isEmpty() ? std::nullopt
                                              : std::optional<QVariant>(key->character());
        }
        if (name == CmdVirtualKeyAttribute) {
            return key->virtualKey() ? std::optional<QVariant>(*key->virtualKey()) : std::nullopt;
        }
        return QVariant(key->modifiers());
    }
    return std::nullopt;
}

std::optional<MenuKeyBinding> AtspiCachedItemNode::keyBinding()
{
    if (m_keyBinding) {
        return *m_keyBinding;
    }
    m_keyBinding.emplace();
    const std::optional<QDBusConnection> bus = accessibilityBusConnection();
    if (!bus) {
        return std::nullopt;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_busName, m_path, QStringLiteral("org.a11y.atspi.Action"),
                                       QStringLiteral("GetKeyBinding"));
    call << qint32(0);
    const QDBusMessage reply = bus->call(call, QDBus::Block, messagingTimeoutMs());
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (isTimeoutReply(reply)) {
            countTimedOutRequest();
        }
        return std::nullopt;
    }
    // Qt's mnemonics are told from shortcuts by the item's title.
    *m_keyBinding = MenuKeyBinding::fromKeyBindingText(reply.arguments().constFirst().toString(),
                                                       m_snapshot.title);
    return *m_keyBinding;
}

bool AtspiCachedItemNode::performAction(const QString& name, ActionReplyHandler replied)
{
    if (name != PressAction || !m_snapshot.enabled) {
        // Disabled GTK items offer no action; a disabled Qt item would
        // ignore it.
        return false;
    }
    return sendDoAction(m_busName, m_path, 0, std::move(replied));
}

bool AtspiCachedItemNode::isSameElement(const AccessibilityNode& other) const
{
    const auto* cached = dynamic_cast<const AtspiCachedItemNode*>(&other);
    return cached && cached->m_busName == m_busName && cached->m_path == m_path;
}

} // namespace platform::atspi
