#pragma once

#include "app/QXDefaultsRegistration.h"
#include "app/QXMainController.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/accessibility/memory/MemoryElement.h"
#include "platform/menus/Menu.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/TemporaryDefaults.h"

#include <QStringList>
#include <QVariantMap>
#include <memory>

// A desktop for one pop-up test: registered defaults on a temporary file, the
// memory accessibility backend and workspace, and a fresh fast-track cache.
class PopUpTestEnvironment
{
public:
    PopUpTestEnvironment()
        : accessibility(new platform::MemoryAccessibility()),
          workspace(new platform::MemoryWorkspace())
    {
        QXDefaultsRegistration::registerDefaults(defaults.defaults());
        platform::Accessibility::setCurrent(
            std::unique_ptr<platform::Accessibility>(accessibility));
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(workspace));
        QXMainController::mainController().resetFastTrackMenuTitles();
        QXProxyMenuItem::updatePreferences();
    }

    ~PopUpTestEnvironment()
    {
        QXMainController::mainController().resetFastTrackMenuTitles();
        platform::Workspace::setCurrent(nullptr);
        platform::Accessibility::setCurrent(nullptr);
    }

    PopUpTestEnvironment(const PopUpTestEnvironment&) = delete;
    PopUpTestEnvironment& operator=(const PopUpTestEnvironment&) = delete;

    platform::UserDefaults& settings() { return defaults.defaults(); }

    // An application running the fixtures' menu description, frontmost when
    // asked.
    void addFixture(qint64 pid, const QString& name, const QString& path, bool frontmost = true,
                    platform::RunningApplication::ActivationPolicy policy =
                        platform::RunningApplication::ActivationPolicy::Regular)
    {
        accessibility->addApplicationFromFile(pid, qEnvironmentVariable("TROVIX_SOURCE_DIR") +
                                                       QStringLiteral("/tests/fixtures/menu.json"));
        workspace->addApplication(pid, name, path, policy);
        if (frontmost) {
            workspace->setFrontmost(pid);
            workspace->setMenuBarOwner(pid);
        }
    }

    std::unique_ptr<platform::Menu> popUp(bool allApplications = false)
    {
        return QXMainController::mainController().buildPopUpMenu(allApplications);
    }

    TemporaryDefaults defaults;
    platform::MemoryAccessibility* accessibility; // owned by Accessibility::current()
    platform::MemoryWorkspace* workspace;         // owned by Workspace::current()
};

// The titles of a menu's items as a reader sees them without modifiers, a
// separator as "-".
inline QStringList shownTitles(const platform::Menu& menu)
{
    QStringList titles;
    for (const platform::MenuItem* item : menu.itemsShownWithModifiers(0)) {
        titles << (item->isSeparatorItem() ? QStringLiteral("-") : item->title());
    }
    return titles;
}

// Foreign menu elements built by hand, for attributes the fixtures' menu
// description cannot express.
class ForeignMenu
{
public:
    static constexpr qint64 Pid = 4242;

    ForeignMenu() { application->pid = Pid; }

    std::shared_ptr<platform::MemoryElement> item(const QString& title,
                                                  const QVariantMap& attributes = {})
    {
        auto element = std::make_shared<platform::MemoryElement>(state, application,
                                                                 QStringLiteral("AXMenuItem"));
        element->setAttribute(QStringLiteral("AXTitle"), title);
        element->setAttribute(QStringLiteral("AXEnabled"), true);
        element->setAttribute(QStringLiteral("AXPosition"), QPointF(1, 1));
        element->setPressPath(title);
        for (auto it = attributes.begin(); it != attributes.end(); ++it) {
            element->setAttribute(it.key(), it.value());
        }
        return element;
    }

    // An item opening a submenu of children.
    std::shared_ptr<platform::MemoryElement>
    menu(const QString& title, const QList<std::shared_ptr<platform::MemoryElement>>& children)
    {
        auto opener = item(title);
        auto submenu =
            std::make_shared<platform::MemoryElement>(state, application, QStringLiteral("AXMenu"));
        for (const auto& child : children) {
            submenu->addChild(child);
        }
        opener->addChild(submenu);
        return opener;
    }

    std::shared_ptr<platform::MemoryAccessibilityState> state =
        std::make_shared<platform::MemoryAccessibilityState>();
    std::shared_ptr<platform::MemoryApplicationState> application =
        std::make_shared<platform::MemoryApplicationState>();
};
