#include "platform/loginitems/LoginItems.h"

#include "platform/InstalledInstance.h"
#include "platform/bundle/Bundle.h"
#include "platform/loginitems/portal/BackgroundPortalLoginItems.h"
#include "platform/loginitems/xdg/XdgLoginItems.h"

#include <QCoreApplication>

namespace platform {

LoginItems& LoginItems::current()
{
    return InstalledInstance<LoginItems>::get([]() -> std::unique_ptr<LoginItems> {
        if (BackgroundPortalLoginItems::isSandboxed()) {
            return std::make_unique<BackgroundPortalLoginItems>(
                QDBusConnection::sessionBus(), BackgroundPortalLoginItems::defaultStateFile(),
                QCoreApplication::applicationFilePath());
        }
        const Bundle& bundle = Bundle::main();
        QString identifier = bundle.bundleIdentifier();
        if (identifier.isEmpty()) {
            identifier = QStringLiteral("com.quirkworks.Trovix");
        }
        QString name = bundle.name();
        if (name.isEmpty()) {
            name = QStringLiteral("Trovix");
        }
        return std::make_unique<XdgLoginItems>(identifier, name);
    });
}

void LoginItems::addChangeObserver(QObject* context, std::function<void()> observer)
{
    m_observers.append({context, std::move(observer)});
}

void LoginItems::notifyChanged()
{
    m_observers.removeIf([](const auto& entry) { return entry.first.isNull(); });
    // A copy: an observer may add another.
    const auto observers = m_observers;
    for (const auto& [context, observer] : observers) {
        if (context) {
            observer();
        }
    }
}

void LoginItems::setCurrent(std::unique_ptr<LoginItems> loginItems)
{
    InstalledInstance<LoginItems>::set(std::move(loginItems));
}

} // namespace platform
