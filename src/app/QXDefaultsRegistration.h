#pragma once

#include <QVariantMap>

namespace platform {
class UserDefaults;
}

// The registered defaults: the values a fresh account starts with.
namespace QXDefaultsRegistration {

// Exactly the eight values registered at every launch.
QVariantMap registeredDefaults();

// Registers them on the given store (the process-wide one by default).
void registerDefaults(platform::UserDefaults& defaults);

// Reads "QXFlatUserInterfaceDrawing", registering YES for it the first time it
// is asked for in a run (every supported desktop draws flat controls).
bool flatUserInterfaceDrawing(platform::UserDefaults& defaults);

} // namespace QXDefaultsRegistration
