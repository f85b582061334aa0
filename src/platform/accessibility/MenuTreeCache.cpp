#include "platform/accessibility/MenuTreeCache.h"

#include "platform/accessibility/Accessibility.h"

namespace platform {

std::optional<MenuTree> MenuTreeCache::kept(qint64 pid, int maxItems) const
{
    const auto found = m_entries.constFind(pid);
    if (found == m_entries.cend() || !*found->valid ||
        (found->maxItems < maxItems && found->tree.items.size() >= found->maxItems)) {
        return std::nullopt;
    }
    MenuTree tree = found->tree;
    if (tree.items.size() > maxItems) {
        tree.items.resize(maxItems);
    }
    return tree;
}

MenuTreeCache::Watch MenuTreeCache::watch(qint64 pid)
{
    // Watched before reading: a change during the read drops the tree read.
    auto valid = std::make_shared<bool>(true);
    std::shared_ptr<void> handle =
        Accessibility::current().watchMenus(pid, [weakValid = std::weak_ptr<bool>(valid)] {
            if (const std::shared_ptr<bool> flag = weakValid.lock()) {
                *flag = false;
            }
        });
    return Watch{valid, handle};
}

MenuTree MenuTreeCache::tree(qint64 pid, int maxItems)
{
    if (std::optional<MenuTree> tree = kept(pid, maxItems)) {
        return *tree;
    }
    m_entries.remove(pid);
    const Watch changes = watch(pid);
    MenuTree tree = Accessibility::current().menuTree(pid, maxItems);
    if (changes.handle && *changes.valid && tree.complete &&
        tree.source != MenuTree::Source::None) {
        m_entries.insert(pid, Entry{tree, maxItems, changes.valid, changes.handle});
    }
    return tree;
}

std::unique_ptr<MenuTreeRead> MenuTreeCache::startRead(qint64 pid, int maxItems)
{
    if (std::optional<MenuTree> tree = kept(pid, maxItems)) {
        return MenuTreeRead::finishedWith(*tree);
    }
    m_entries.remove(pid);
    const Watch changes = watch(pid);
    std::unique_ptr<MenuTreeRead> read = Accessibility::current().startMenuTreeRead(pid, maxItems);
    MenuTreeRead* reading = read.get();
    QObject::connect(
        reading, &MenuTreeRead::finished, reading, [this, reading, pid, maxItems, changes] {
            const MenuTree& tree = reading->tree();
            if (changes.handle && *changes.valid && tree.complete &&
                tree.source != MenuTree::Source::None) {
                m_entries.insert(pid, Entry{tree, maxItems, changes.valid, changes.handle});
            }
        });
    return read;
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
