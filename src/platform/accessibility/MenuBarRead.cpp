#include "platform/accessibility/MenuBarRead.h"

namespace platform {

namespace {

class FinishedMenuBarRead : public MenuBarRead
{
public:
    explicit FinishedMenuBarRead(AccessibilityElement menuBar) { finish(std::move(menuBar)); }
};

} // namespace

std::unique_ptr<MenuBarRead> MenuBarRead::finishedWith(AccessibilityElement menuBar)
{
    return std::make_unique<FinishedMenuBarRead>(std::move(menuBar));
}

void MenuBarRead::finish(AccessibilityElement menuBar)
{
    if (m_finished) {
        return;
    }
    m_menuBar = std::move(menuBar);
    m_finished = true;
    Q_EMIT finished();
}

} // namespace platform
