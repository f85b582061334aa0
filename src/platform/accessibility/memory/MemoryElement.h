#pragma once

#include "platform/accessibility/AccessibilityNode.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariantMap>
#include <memory>

namespace platform {

// What all elements of one memory backend share: the clock, the counters and
// the messaging timeout.
struct MemoryAccessibilityState
{
    float messagingTimeout = 6.0f;
    QList<float> appliedTimeouts;
    double delay = 0.0;  // seconds added to every request
    bool sleeps = false; // really wait for delays instead of only counting them
    double elapsed = 0.0;
    int requests = 0;
    quint64 timedOutRequests = 0;
    QHash<QString, int> requestsByAttribute;
    QStringList pressed;
};

// What all elements of one application share.
struct MemoryApplicationState
{
    qint64 pid = 0;
    double delay = 0.0;
};

// One element of the memory backend's scripted tree. Requests cost the
// configured delays (counted on a simulated clock, or slept), a request that
// costs more than the messaging timeout reads as absent and counts as timed
// out, an action is sent without waiting for its answer, and an element can
// be made to fail single attributes or to vanish after a number of requests.
class MemoryElement : public AccessibilityNode, public std::enable_shared_from_this<MemoryElement>
{
public:
    MemoryElement(std::shared_ptr<MemoryAccessibilityState> state,
                  std::shared_ptr<MemoryApplicationState> application, QString role);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    // A menu's children, counted or read a run at a time, one request each.
    std::optional<qint64> attributeValueCount(const QString& name) override;
    std::optional<QVariant> copyAttributeValues(const QString& name, qint64 index,
                                                qint64 maxValues) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override;
    bool setMessagingTimeout(float seconds) override;
    bool isSameElement(const AccessibilityNode& other) const override;

    // Building the tree.
    QString role() const { return m_role; }
    QString title() const { return m_attributes.value(QStringLiteral("AXTitle")).toString(); }
    void setAttribute(const QString& name, const QVariant& value);
    void addChild(const std::shared_ptr<MemoryElement>& child);
    const QList<std::shared_ptr<MemoryElement>>& children() const { return m_children; }
    void setPrimary(const std::shared_ptr<MemoryElement>& primary) { m_primary = primary; }
    // The text recorded when the element is pressed ("File > Open").
    void setPressPath(const QString& path) { m_pressPath = path; }
    QString pressPath() const { return m_pressPath; }
    // The menu bar of an application element.
    void setMenuBar(const std::shared_ptr<MemoryElement>& menuBar) { m_menuBar = menuBar; }

    // A menu that claims count children in all: those added are listed
    // first, made-up items ("Item 1" ...) after them; like a real backend's,
    // the list stops at MaximumMenuChildren and reports how many it left out.
    void setClaimedChildCount(qint64 count) { m_claimedChildCount = count; }
    // Lists an element that is owned elsewhere among the children, after
    // the own ones: a tree that loops, without owning itself.
    void addLinkedChild(const std::shared_ptr<MemoryElement>& child) { m_links.append(child); }

    // Faults.
    void setDelay(double seconds) { m_delay = seconds; }
    void failAttribute(const QString& name) { m_failing.insert(name); }
    // Answers `requests` more requests, then vanishes with its whole subtree.
    void vanishAfter(int requests);
    bool hasVanished() const { return m_vanished; }

private:
    // Accounts for one request that waits for its answer; false when it
    // fails (vanished or timed out).
    bool beginRequest(const QString& what);
    // Counts one request; false when the element has vanished.
    bool sendRequest(const QString& what);
    // Seconds the element takes to answer.
    double requestCost() const;
    void vanish();
    // The children as "AXChildren" lists them, and how many it leaves out.
    QList<std::shared_ptr<MemoryElement>> listedChildren();
    qint64 omittedChildCount() const;

    std::shared_ptr<MemoryAccessibilityState> m_state;
    std::shared_ptr<MemoryApplicationState> m_application;
    QString m_role;
    QVariantMap m_attributes;
    QList<std::shared_ptr<MemoryElement>> m_children;
    QList<std::weak_ptr<MemoryElement>> m_links;
    qint64 m_claimedChildCount = -1;
    QList<std::shared_ptr<MemoryElement>> m_madeUpChildren;
    std::weak_ptr<MemoryElement> m_primary;
    std::shared_ptr<MemoryElement> m_menuBar;
    QString m_pressPath;
    double m_delay = 0.0;
    QSet<QString> m_failing;
    int m_requestsUntilVanishing = -1;
    bool m_vanished = false;
};

} // namespace platform
