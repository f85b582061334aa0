#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNode.h"
#include "platform/accessibility/MenuKeyBinding.h"
#include "platform/accessibility/atspi/AtspiElementNode.h"
#include "platform/accessibility/atspi/AtspiEntryPrefetch.h"
#include "platform/accessibility/atspi/AtspiMenuSnapshot.h"

#include <memory>

namespace platform::atspi {

// A menu bar, menu or entry of a menu snapshot, in the same shape as
// AtspiElementNode gives the live objects: titles, roles and states come
// from the snapshot at no cost. When a menu's entries are first read, the
// menu is asked for its children (the snapshot does not say in which order
// GTK holds a menu's entries, and the menu may have changed since), and the
// entries are made known a screenful at a time: those the snapshot lacks
// are asked for what it would have said, the others for their key bindings,
// all requests of a screenful together. A long menu is not listed at all:
// its entries are asked for by index, a screenful at a time. Pressing sends
// the entry's first action.
class AtspiSnapshotNode : public AccessibilityNode
{
public:
    using Kind = AtspiElementNode::Kind;

    AtspiSnapshotNode(std::shared_ptr<MenuSnapshot> snapshot, QString path, Kind kind);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    std::optional<qint64> attributeValueCount(const QString& name) override;
    std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                qint64 maxValues) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override { return m_snapshot->pid; }
    bool setMessagingTimeout(float) override { return false; }
    bool isSameElement(const AccessibilityNode& other) const override;

private:
    const CachedObject& object() const;
    // The object whose children are this entry's submenu entries; empty for
    // an entry without a submenu.
    QString submenuPath() const;
    // Makes the children those the application lists now (once), and the
    // entries from first on (a screenful at least) known.
    void settle(qint64 first, qint64 count);
    // One request of a settling round, and what it is for.
    struct Ask
    {
        PathRequests request;
        enum Kind
        {
            Listing, // the menu's children
            Length,  // how many children the menu has
            ChildAt, // the menu's child at an index
            KeyBinding,
            Whole,   // an entry the snapshot lacks
            Refresh, // an entry of a kept read, asked again
            Probe    // a child of a Qt item, which may hold its submenu
        } kind;
    };
    // The requests that make an entry known (and notes it as asked).
    Ask askAbout(const QString& path) const;
    // Takes what answered ask into the snapshot; Qt items found add probes.
    void take(const Ask& ask, const EntryAnswers* answer, QList<Ask>& probes);
    // Whether an entry's title, role and states are known to hold now.
    bool isKnown(const QString& path) const;
    // Whether an entry listed by a menu is shown: known, and answered.
    bool isShown(const QString& path) const;
    // A menu's entries from index on, at most count.
    AccessibilityElementList entries(qint64 index, qint64 count);
    std::optional<MenuKeyBinding> keyBinding();

    std::shared_ptr<MenuSnapshot> m_snapshot;
    QString m_path;
    Kind m_kind;
    // A menu's entries before this index are settled (for this node).
    qint64 m_settledEnd = 0;
};

} // namespace platform::atspi
