#pragma once

#include "platform/accessibility/MenuTree.h"

#include <QObject>

namespace platform {

// A menu tree being read while the caller's event loop goes on: items
// arrive in batches on the main thread, then the read finishes once. The
// read stops when it is destroyed; nothing arrives after that.
class MenuTreeRead : public QObject
{
    Q_OBJECT

public:
    // A read that has already finished with tree (a kept tree, say).
    static std::unique_ptr<MenuTreeRead> finishedWith(MenuTree tree);

    // What was read so far; its source and completeness are final once the
    // read has finished.
    const MenuTree& tree() const { return m_tree; }
    bool isFinished() const { return m_finished; }

Q_SIGNALS:
    // tree().items from first on arrived.
    void itemsAdded(qsizetype first);
    void finished();

protected:
    MenuTreeRead() = default;

    // Appends items and tells about them (nothing once finished).
    void addItems(const QList<MenuTreeItem>& items);
    // Sets the source and completeness and finishes (once).
    void finish(MenuTree::Source source, bool complete);
    // Adds tree's items and finishes with its source and completeness.
    void finishWith(const MenuTree& tree);

private:
    MenuTree m_tree;
    bool m_finished = false;
};

} // namespace platform
