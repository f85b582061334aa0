#include "platform/accessibility/Accessibility.h"

#include "platform/InstalledInstance.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/KeptElementNode.h"
#include "platform/accessibility/atspi/AtspiAccessibility.h"

#include <QPointer>
#include <QTimer>

namespace platform {

Accessibility& Accessibility::current()
{
    return InstalledInstance<Accessibility>::get(
        []() -> std::unique_ptr<Accessibility> { return std::make_unique<AtspiAccessibility>(); });
}

void Accessibility::setCurrent(std::unique_ptr<Accessibility> accessibility)
{
    InstalledInstance<Accessibility>::set(std::move(accessibility));
}

MenuTree Accessibility::menuTree(qint64 pid, int maxItems)
{
    return readMenuTreeItemByItem(applicationElement(pid), maxItems);
}

namespace {

// Reads the whole tree at once, on the next pass of the event loop.
class DeferredMenuTreeRead : public MenuTreeRead
{
public:
    DeferredMenuTreeRead(Accessibility& accessibility, qint64 pid, int maxItems)
    {
        QTimer::singleShot(0, this, [this, &accessibility, pid, maxItems] {
            finishWith(accessibility.menuTree(pid, maxItems));
        });
    }
};

} // namespace

std::unique_ptr<MenuTreeRead> Accessibility::startMenuTreeRead(qint64 pid, int maxItems)
{
    return std::make_unique<DeferredMenuTreeRead>(*this, pid, maxItems);
}

namespace {

// Reads the menu bar through the element interface, on the next pass of
// the event loop.
class DeferredMenuBarRead : public MenuBarRead
{
public:
    DeferredMenuBarRead(Accessibility& accessibility, qint64 pid, MenuBarReadDepth depth)
    {
        QTimer::singleShot(0, this, [this, &accessibility, pid, depth = std::move(depth)] {
            const AccessibilityElement application = accessibility.applicationElement(pid);
            finish(KeptElementNode::keepMenuBar(
                accessibilityElementFromVariant(
                    application.copyAttribute(accessibility::MenuBarAttribute)
                        .value_or(QVariant())),
                depth));
        });
    }
};

} // namespace

std::unique_ptr<MenuBarRead>
Accessibility::startMenuBarRead(qint64 pid, const MenuBarReadDepth& depth, const MenuBarRead*)
{
    return std::make_unique<DeferredMenuBarRead>(*this, pid, depth);
}

std::shared_ptr<void> Accessibility::watchMenus(qint64, std::function<void()>)
{
    return nullptr;
}

bool Accessibility::lacksAccessibilityBridge(qint64)
{
    return false;
}

} // namespace platform
