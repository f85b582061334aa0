#include "platform/accessibility/MenuTreeRead.h"

namespace platform {

namespace {

class FinishedMenuTreeRead : public MenuTreeRead
{
public:
    explicit FinishedMenuTreeRead(const MenuTree& tree) { finishWith(tree); }
};

} // namespace

std::unique_ptr<MenuTreeRead> MenuTreeRead::finishedWith(MenuTree tree)
{
    return std::make_unique<FinishedMenuTreeRead>(tree);
}

void MenuTreeRead::addItems(const QList<MenuTreeItem>& items)
{
    if (m_finished || items.isEmpty()) {
        return;
    }
    const qsizetype first = m_tree.items.size();
    m_tree.items.append(items);
    Q_EMIT itemsAdded(first);
}

void MenuTreeRead::finish(MenuTree::Source source, bool complete)
{
    if (m_finished) {
        return;
    }
    m_tree.source = source;
    m_tree.complete = complete;
    m_finished = true;
    Q_EMIT finished();
}

void MenuTreeRead::finishWith(const MenuTree& tree)
{
    addItems(tree.items);
    finish(tree.source, tree.complete);
}

} // namespace platform
