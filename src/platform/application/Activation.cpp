#include "platform/application/Activation.h"

#include "platform/application/memory/MemoryActivation.h"
#include "platform/application/x11/X11Activation.h"

#include <QGuiApplication>

namespace platform {
namespace {

std::unique_ptr<Activation>& installed()
{
    static std::unique_ptr<Activation> activation;
    return activation;
}

} // namespace

Activation& Activation::current()
{
    auto& activation = installed();
    if (!activation) {
        if (X11Activation::isAvailable()) {
            activation = std::make_unique<X11Activation>();
        } else {
            activation = std::make_unique<MemoryActivation>();
        }
    }
    return *activation;
}

void Activation::setCurrent(std::unique_ptr<Activation> activation)
{
    installed() = std::move(activation);
}

} // namespace platform
