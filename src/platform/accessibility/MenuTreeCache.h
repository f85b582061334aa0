#pragma once

#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuTreeRead.h"

#include <QHash>
#include <memory>
#include <optional>

namespace platform {

// Whole menu trees kept per application, so that searching again costs no
// request. A tree is dropped as soon as the backend says the application's
// menus changed or the application quit; trees the backend cannot watch,
// and trees cut short by an application that stopped answering, are never
// kept.
class MenuTreeCache
{
public:
    // The application's tree with at most maxItems items: the kept one, or
    // one read now through Accessibility::current().
    MenuTree tree(qint64 pid, int maxItems);
    // The same without blocking: a read finished at once with the kept
    // tree, or one started now through Accessibility::current(), whose tree
    // is kept when it finishes complete and unchanged. The cache must
    // outlive the reads it starts.
    std::unique_ptr<MenuTreeRead> startRead(qint64 pid, int maxItems);
    // Whether a tree of the application is kept and still valid.
    bool contains(qint64 pid) const;
    void drop(qint64 pid);
    void clear() { m_entries.clear(); }

private:
    std::optional<MenuTree> kept(qint64 pid, int maxItems) const;
    struct Watch
    {
        std::shared_ptr<bool> valid;
        std::shared_ptr<void> handle;
    };
    static Watch watch(qint64 pid);

    struct Entry
    {
        MenuTree tree;
        int maxItems = 0;
        std::shared_ptr<bool> valid;
        std::shared_ptr<void> watch;
    };

    QHash<qint64, Entry> m_entries;
};

} // namespace platform
