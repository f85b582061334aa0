#include "platform/loginitems/LoginItems.h"

#include "platform/InstalledInstance.h"
#include "platform/bundle/Bundle.h"
#include "platform/loginitems/sandbox/SandboxedLoginItems.h"
#include "platform/loginitems/xdg/XdgLoginItems.h"

namespace platform {

LoginItems& LoginItems::current()
{
    return InstalledInstance<LoginItems>::get([]() -> std::unique_ptr<LoginItems> {
        if (SandboxedLoginItems::isSandboxed()) {
            return std::make_unique<SandboxedLoginItems>();
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

void LoginItems::setCurrent(std::unique_ptr<LoginItems> loginItems)
{
    InstalledInstance<LoginItems>::set(std::move(loginItems));
}

} // namespace platform
