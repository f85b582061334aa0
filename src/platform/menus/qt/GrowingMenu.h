#pragma once

#include <QMenu>
#include <QSize>
#include <functional>
#include <optional>

namespace platform {

// A QMenu that takes items appended while it is open in one go: QMenu lays
// out every item again after each item it is given (or that changes) while
// visible, which makes filling an open menu of thousands of entries cost
// the square of its length. Within append() its size stays as it is; it
// is worked out once when the items are in.
class GrowingMenu : public QMenu
{
public:
    using QMenu::QMenu;

    // Runs add, which adds or changes actions, and then fits the menu to
    // them once.
    void append(const std::function<void()>& add);

    QSize sizeHint() const override;

private:
    std::optional<QSize> m_heldSize;
};

} // namespace platform
