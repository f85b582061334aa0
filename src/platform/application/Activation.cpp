#include "platform/application/Activation.h"

#include "platform/InstalledInstance.h"
#include "platform/application/memory/MemoryActivation.h"
#include "platform/application/x11/X11Activation.h"

namespace platform {

Activation& Activation::current()
{
    return InstalledInstance<Activation>::get([]() -> std::unique_ptr<Activation> {
        if (X11Activation::isAvailable()) {
            return std::make_unique<X11Activation>();
        }
        return std::make_unique<MemoryActivation>();
    });
}

void Activation::setCurrent(std::unique_ptr<Activation> activation)
{
    InstalledInstance<Activation>::set(std::move(activation));
}

} // namespace platform
