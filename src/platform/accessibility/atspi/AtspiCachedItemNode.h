#pragma once

#include "platform/accessibility/AccessibilityNode.h"
#include "platform/accessibility/MenuKeyBinding.h"

#include <QString>
#include <optional>

namespace platform::atspi {

// A menu item known by its bus name and object path, with title, enabled
// state, visibility and check mark already read (from the application's
// object cache, or from replies to requests made without waiting), so
// reading them costs nothing. The key equivalent is asked for on first use
// (one request), pressing sends the item's first action ("click" in GTK,
// "Press" in Qt).
class AtspiCachedItemNode : public AccessibilityNode
{
public:
    struct Snapshot
    {
        QString title;
        bool enabled = false;
        bool visible = false;
        bool checked = false;
        bool indeterminate = false;
    };

    AtspiCachedItemNode(QString busName, QString path, qint64 pid, Snapshot snapshot);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override { return m_pid; }
    bool setMessagingTimeout(float) override { return false; }
    bool isSameElement(const AccessibilityNode& other) const override;

private:
    std::optional<MenuKeyBinding> keyBinding();

    QString m_busName;
    QString m_path;
    qint64 m_pid;
    Snapshot m_snapshot;
    std::optional<std::optional<MenuKeyBinding>> m_keyBinding;
};

} // namespace platform::atspi
