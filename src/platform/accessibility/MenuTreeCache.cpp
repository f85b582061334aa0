#include "platform/accessibility/MenuTreeCache.h"

#include "platform/accessibility/Accessibility.h"

namespace platform {

MenuTree MenuTreeCache::tree(qint64 pid, int maxItems)
{
    const auto found = m_entries.constFind(pid);
    if (found != m_entries.cend() && *found->valid &&
        (found->maxItems >= maxItems || found->tree.items.size() < found->maxItems)) {
        MenuTree kept = found->tree;
        if (kept.items.size() > maxItems) {
            kept.items.resize(maxItems);
        }
        return kept;
    }
    m_entries.remove(pid);
    // Watched before reading: a change during the read drops the tree read.
    auto valid = std::make_shared<bool>(true);
    std::shared_ptr<void> watch =
        Accessibility::current().watchMenus(pid, [weakValid = std::weak_ptr<bool>(valid)] {
            if (const std::shared_ptr<bool> flag = weakValid.lock()) {
                *flag = false;
            }
        });
    MenuTree tree = Accessibility::current().menuTree(pid, maxItems);
    if (watch && *valid && tree.complete && tree.source != MenuTree::Source::None) {
        m_entries.insert(pid, Entry{tree, maxItems, valid, watch});
    }
    return tree;
}

bool MenuTreeCache::contains(qint64 pid) const
{
    const auto found = m_entries.constFind(pid);
    return found != m_entries.cend() && *found->valid;
}

void MenuTreeCache::drop(qint64 pid)
{
    m_entries.remove(pid);
}

} // namespace platform
