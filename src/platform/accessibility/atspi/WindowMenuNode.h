#pragma once

#include "platform/accessibility/AccessibilityElement.h"
#include "platform/accessibility/AccessibilityNode.h"
#include "platform/accessibility/WindowMenuCommand.h"

#include <memory>
#include <optional>

namespace platform {

// The window menu that stands at index 0 of every menu bar read over AT-SPI,
// where the program expects the system menu: minimise, maximise or restore,
// keep above and close the application's front window, done through the
// window manager. Without a window its commands are disabled. The window is
// looked for only when the menu is opened or a command is run: a pop-up that
// only shows the menu's title asks the window manager nothing.
class WindowMenuNode : public AccessibilityNode
{
public:
    enum class Kind
    {
        MenuBarItem,
        Menu,
        Command
    };

    // The menu-bar item of the window menu of the application's front window.
    static AccessibilityElement menuBarItem(qint64 pid);

    // The application's front window, found when first asked for and
    // shared by the menu and its commands.
    struct FrontWindow
    {
        qint64 pid = 0;
        bool looked = false;
        std::optional<quint32> window;
        std::optional<quint32> get();
    };

    WindowMenuNode(Kind kind, qint64 pid, std::shared_ptr<FrontWindow> window,
                   WindowMenuCommand command = WindowMenuCommand::Minimize);

    std::optional<QVariant> copyAttribute(const QString& name) override;
    bool performAction(const QString& name, ActionReplyHandler replied) override;
    std::optional<qint64> pid() const override { return m_pid; }
    bool setMessagingTimeout(float) override { return false; }
    bool isSameElement(const AccessibilityNode& other) const override;

private:
    QString title() const;
    // Runs the command through the window manager; false when it refused.
    bool perform() const;

    Kind m_kind;
    qint64 m_pid;
    std::shared_ptr<FrontWindow> m_window;
    WindowMenuCommand m_command;
};

} // namespace platform
