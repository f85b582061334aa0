#pragma once

#include "app/QXAlert.h"
#include "app/QXMainController.h"
#include "app/QXStatusItemController.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/loginitems/memory/MemoryLoginItems.h"
#include "platform/statusbar/memory/MemoryStatusBar.h"
#include "platform/workspace/memory/MemoryWorkspace.h"
#include "support/LogCapture.h"
#include "support/TemporaryDefaults.h"

#include <QStringList>
#include <memory>

// A fresh desktop for one test of the application core: settings on a
// temporary file, an in-memory tray and activation, alerts recorded instead of
// shown, and the main controller forgetting the previous launch.
class AppTestEnvironment
{
public:
    AppTestEnvironment()
        : defaults(std::make_unique<TemporaryDefaults>()),
          activation(new platform::MemoryActivation()), statusBar(new platform::MemoryStatusBar()),
          accessibility(new platform::MemoryAccessibility()),
          loginItems(new platform::MemoryLoginItems()), workspace(new platform::MemoryWorkspace())
    {
        QXMainController::mainController().resetForTesting();
        platform::Accessibility::setCurrent(
            std::unique_ptr<platform::Accessibility>(accessibility));
        platform::Activation::setCurrent(std::unique_ptr<platform::Activation>(activation));
        platform::StatusBar::setSystem(std::unique_ptr<platform::StatusBar>(statusBar));
        platform::LoginItems::setCurrent(std::unique_ptr<platform::LoginItems>(loginItems));
        // The program follows the front application from its start.
        platform::Workspace::setCurrent(std::unique_ptr<platform::Workspace>(workspace));
        QXAlert::setPresenterForTesting([this](const QString& message, const QString& text) {
            alerts.append(message + QLatin1Char('|') + text);
        });
    }

    ~AppTestEnvironment()
    {
        QXMainController::mainController().resetForTesting();
        QXAlert::setPresenterForTesting({});
        platform::StatusBar::setSystem(nullptr);
        platform::Activation::setCurrent(nullptr);
        platform::Accessibility::setCurrent(nullptr);
        platform::LoginItems::setCurrent(nullptr);
        platform::Workspace::setCurrent(nullptr);
    }

    AppTestEnvironment(const AppTestEnvironment&) = delete;
    AppTestEnvironment& operator=(const AppTestEnvironment&) = delete;

    platform::UserDefaults& settings() { return defaults->defaults(); }

    platform::MemoryStatusItem* statusItem() const
    {
        const auto items = statusBar->liveItems();
        return items.isEmpty() ? nullptr : items.constFirst();
    }

    std::unique_ptr<TemporaryDefaults> defaults;
    platform::MemoryActivation* activation;       // owned by Activation::current()
    platform::MemoryStatusBar* statusBar;         // owned by StatusBar::system()
    platform::MemoryAccessibility* accessibility; // owned by Accessibility::current()
    platform::MemoryLoginItems* loginItems;       // owned by LoginItems::current()
    platform::MemoryWorkspace* workspace;         // owned by Workspace::current()
    LogCapture log;
    QStringList alerts;
};
