#include "platform/accessibility/atspi/WindowMenuNode.h"

#include "platform/accessibility/AccessibilityNames.h"
#include "platform/workspace/x11/EwmhConnection.h"

#include <QPointF>
#include <memory>

namespace platform {

using namespace platform::accessibility;

AccessibilityElement WindowMenuNode::menuBarItem(qint64 pid)
{
    auto window = std::make_shared<FrontWindow>();
    window->pid = pid;
    return AccessibilityElement(
        std::make_shared<WindowMenuNode>(Kind::MenuBarItem, pid, std::move(window)));
}

std::optional<quint32> WindowMenuNode::FrontWindow::get()
{
    if (!looked) {
        looked = true;
        window = EwmhConnection::shared().frontWindowOfProcess(pid);
    }
    return window;
}

WindowMenuNode::WindowMenuNode(Kind kind, qint64 pid, std::shared_ptr<FrontWindow> window,
                               WindowMenuCommand command)
    : m_kind(kind), m_pid(pid), m_window(std::move(window)), m_command(command)
{}

QString WindowMenuNode::title() const
{
    if (m_kind != Kind::Command) {
        return windowMenuTitle();
    }
    return windowMenuCommandTitle(m_command);
}

std::optional<QVariant> WindowMenuNode::copyAttribute(const QString& name)
{
    if (name == RoleAttribute) {
        switch (m_kind) {
        case Kind::MenuBarItem:
            return QVariant(QString(MenuBarItemRole));
        case Kind::Menu:
            return QVariant(QString(MenuRole));
        case Kind::Command:
            return QVariant(QString(MenuItemRole));
        }
    }
    if (name == TitleAttribute) {
        return QVariant(title());
    }
    if (name == ChildrenAttribute) {
        AccessibilityElementList children;
        if (m_kind == Kind::MenuBarItem) {
            children.append(AccessibilityElement(
                std::make_shared<WindowMenuNode>(Kind::Menu, m_pid, m_window)));
        } else if (m_kind == Kind::Menu) {
            const std::optional<quint32> window = m_window->get();
            const bool maximized =
                window && EwmhConnection::shared().windowState(*window).maximized;
            for (const WindowMenuCommand command :
                 {WindowMenuCommand::Minimize,
                  maximized ? WindowMenuCommand::Restore : WindowMenuCommand::Maximize,
                  WindowMenuCommand::KeepAbove, WindowMenuCommand::Close}) {
                children.append(AccessibilityElement(
                    std::make_shared<WindowMenuNode>(Kind::Command, m_pid, m_window, command)));
            }
        }
        return QVariant::fromValue(children);
    }
    if (m_kind == Kind::Menu) {
        return std::nullopt;
    }
    if (name == EnabledAttribute) {
        // The menu itself opens whatever it finds; its commands need the
        // window.
        return QVariant(m_kind == Kind::MenuBarItem || m_window->get().has_value());
    }
    if (name == PositionAttribute) {
        return QVariant(QPointF());
    }
    if (name == MarkCharAttribute && m_kind == Kind::Command &&
        m_command == WindowMenuCommand::KeepAbove && m_window->get() &&
        EwmhConnection::shared().windowState(*m_window->get()).above) {
        return QVariant(QString(QChar(CheckedMark)));
    }
    return std::nullopt;
}

bool WindowMenuNode::performAction(const QString& name, ActionReplyHandler replied)
{
    if (name != PressAction || (m_kind == Kind::Command && !m_window->get())) {
        return false;
    }
    // The window manager is asked at once; nothing waits for it.
    const bool done = perform();
    deliverActionReply(std::move(replied), done ? ActionReply::Done : ActionReply::Refused);
    return true;
}

bool WindowMenuNode::perform() const
{
    if (m_kind != Kind::Command) {
        return true;
    }
    EwmhConnection& x11 = EwmhConnection::shared();
    const quint32 window = *m_window->get();
    switch (m_command) {
    case WindowMenuCommand::Minimize:
        return x11.minimizeWindow(window);
    case WindowMenuCommand::Maximize:
        return x11.setMaximized(window, true);
    case WindowMenuCommand::Restore:
        return x11.setMaximized(window, false);
    case WindowMenuCommand::KeepAbove:
        return x11.setKeepAbove(window, !x11.windowState(window).above);
    case WindowMenuCommand::Close:
        return x11.closeWindow(window);
    }
    return false;
}

bool WindowMenuNode::isSameElement(const AccessibilityNode& other) const
{
    const auto* node = dynamic_cast<const WindowMenuNode*>(&other);
    return node && node->m_kind == m_kind && node->m_pid == m_pid && node->m_command == m_command &&
           (node->m_window == m_window || node->m_window->get() == m_window->get());
}

} // namespace platform
