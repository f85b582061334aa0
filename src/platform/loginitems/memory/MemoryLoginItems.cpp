#include "platform/loginitems/memory/MemoryLoginItems.h"

#include <QDir>

namespace platform {

MemoryLoginItems::MemoryLoginItems(const QString& identifier)
    : m_entryName(identifier + QStringLiteral(".desktop"))
{}

std::optional<QList<LoginItem>> MemoryLoginItems::snapshot()
{
    ++m_snapshotCount;
    if (m_listUnavailable) {
        return std::nullopt;
    }
    return m_items;
}

bool MemoryLoginItems::remove(const LoginItem& item)
{
    if (m_refusedRemovals.contains(item.identifier)) {
        setLastError(QStringLiteral("%1 cannot be deleted: refused").arg(item.identifier));
        return false;
    }
    m_items.removeIf(
        [&item](const LoginItem& existing) { return existing.identifier == item.identifier; });
    return true;
}

std::optional<LoginItem> MemoryLoginItems::insert(const QString& applicationPath)
{
    // The XDG backend refuses what an Exec line cannot carry.
    if (m_insertionRefused || !QDir::isAbsolutePath(applicationPath) ||
        applicationPath.contains(u'\n')) {
        setLastError(QStringLiteral("%1 cannot be written: refused").arg(m_entryName));
        return std::nullopt;
    }
    const LoginItem item{m_entryName, applicationPath};
    addItem(item);
    return item;
}

std::optional<bool> MemoryLoginItems::isHelperEnabled()
{
    ++m_helperReadCount;
    if (m_helperStateUnavailable) {
        return std::nullopt;
    }
    return m_helperEnabled;
}

bool MemoryLoginItems::setHelperEnabled(bool enabled)
{
    ++m_helperSwitchCount;
    if (!m_hasHelper || (enabled && !m_canEnableHelper)) {
        setLastError(QStringLiteral("the helper cannot be switched"));
        return false;
    }
    if (m_helperAnswersLater) {
        m_pendingHelperState = enabled;
        return true;
    }
    m_helperEnabled = enabled;
    return true;
}

bool MemoryLoginItems::answerHelperRequest(bool granted)
{
    if (!m_pendingHelperState) {
        return false;
    }
    if (granted) {
        m_helperEnabled = *m_pendingHelperState;
    }
    m_pendingHelperState.reset();
    notifyChanged();
    return true;
}

void MemoryLoginItems::addItem(const LoginItem& item)
{
    for (LoginItem& existing : m_items) {
        if (existing.identifier == item.identifier) {
            existing = item;
            return;
        }
    }
    m_items.append(item);
}

void MemoryLoginItems::setRemovalRefused(const QString& identifier, bool refused)
{
    if (refused) {
        m_refusedRemovals.insert(identifier);
    } else {
        m_refusedRemovals.remove(identifier);
    }
}

void MemoryLoginItems::setHelper(bool present, bool enabled, bool canEnable)
{
    m_hasHelper = present;
    m_helperEnabled = enabled;
    m_canEnableHelper = canEnable;
}

} // namespace platform
