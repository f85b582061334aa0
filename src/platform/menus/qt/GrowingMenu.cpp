#include "platform/menus/qt/GrowingMenu.h"

namespace platform {

void GrowingMenu::append(const std::function<void()>& add)
{
    if (!isVisible() || m_heldSize) {
        add();
        return;
    }
    m_heldSize = size();
    add();
    m_heldSize.reset();
    resize(QMenu::sizeHint());
    update();
}

QSize GrowingMenu::sizeHint() const
{
    return m_heldSize ? *m_heldSize : QMenu::sizeHint();
}

} // namespace platform
