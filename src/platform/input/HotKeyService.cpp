#include "platform/input/HotKeyService.h"

#include "platform/input/desktop/DesktopHotKeyChoice.h"
#include "platform/input/desktop/DesktopHotKeyService.h"
#include "platform/input/memory/MemoryHotKeyService.h"
#include "platform/input/x11/X11HotKeyService.h"

#include <QCoreApplication>

namespace platform {
namespace {

std::unique_ptr<HotKeyService>& installed()
{
    static std::unique_ptr<HotKeyService> service;
    return service;
}

HotKeyService::EventHandler& eventHandler()
{
    static HotKeyService::EventHandler handler;
    return handler;
}

HotKeyService::KeyboardMappingHandler& keyboardMappingHandler()
{
    static HotKeyService::KeyboardMappingHandler handler;
    return handler;
}

std::function<void()>& mechanismHandler()
{
    static std::function<void()> handler;
    return handler;
}

// The X11 service ungrabs its keys while the connection still exists; the
// desktop one ends its calls while the application does.
void dropInstalled()
{
    installed().reset();
}

} // namespace

HotKeyService::~HotKeyService() = default;

HotKeyService& HotKeyService::current()
{
    auto& service = installed();
    if (!service) {
        const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (QCoreApplication::instance() && DesktopHotKeyChoice::needsDesktop(environment)) {
            // X11 grabs on XWayland miss every key typed into a Wayland
            // window: the desktop binds the hot keys.
            service = std::make_unique<DesktopHotKeyService>(
                environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")));
            qAddPostRoutine(&dropInstalled);
        } else if (auto x11 = X11HotKeyService::create()) {
            service = std::move(x11);
            qAddPostRoutine(&dropInstalled);
        } else {
            service = std::make_unique<MemoryHotKeyService>(false);
        }
    }
    return *service;
}

void HotKeyService::setCurrent(std::unique_ptr<HotKeyService> service)
{
    installed() = std::move(service);
}

void HotKeyService::setEventHandler(EventHandler handler)
{
    eventHandler() = std::move(handler);
}

void HotKeyService::setKeyboardMappingHandler(KeyboardMappingHandler handler)
{
    keyboardMappingHandler() = std::move(handler);
}

void HotKeyService::notifyKeyboardMappingChanged()
{
    // A copy: the handler may replace itself while it runs.
    const KeyboardMappingHandler handler = keyboardMappingHandler();
    if (handler) {
        handler();
    }
}

void HotKeyService::setMechanismHandler(std::function<void()> handler)
{
    mechanismHandler() = std::move(handler);
}

void HotKeyService::notifyMechanismChanged()
{
    const std::function<void()> handler = mechanismHandler();
    if (handler) {
        handler();
    }
}

void HotKeyService::deliver(const Event& event)
{
    // A copy: the handler may replace itself while it runs.
    const EventHandler handler = eventHandler();
    if (handler) {
        handler(event);
    }
}

} // namespace platform
