#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNode.h"
#include "platform/accessibility/MenuBarRead.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace platform {

// An element of another application with some of its attributes read
// before and kept: those answer from memory, every other request goes to
// the element itself, and so does pressing it. Elements in kept values
// (children, the primary item) are kept elements too, so that two of them
// compare as the elements they stand for.
class KeptElementNode : public AccessibilityNode
{
public:
    explicit KeptElementNode(AccessibilityElement live);

    // Keeps value (nothing: the attribute is absent) as the attribute's
    // answer.
    void keep(const QString& name, std::optional<QVariant> value);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    std::optional<qint64> attributeValueCount(const QString& name) override;
    std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                qint64 maxValues) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override { return m_live.pid(); }
    bool setMessagingTimeout(float) override { return false; }
    bool isSameElement(const AccessibilityNode& other) const override;

    // Reads what a pop-up shows of a menu bar (its items' titles, roles,
    // states, marks and key equivalents, and those of the menus depth names)
    // through the element interface and keeps it. Null when a request ran
    // into the messaging timeout.
    static AccessibilityElement keepMenuBar(const AccessibilityElement& menuBar,
                                            const MenuBarReadDepth& depth);

private:
    AccessibilityElement m_live;
    QHash<QString, std::optional<QVariant>> m_kept;
};

} // namespace platform
