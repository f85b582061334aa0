#pragma once

#include "app/QXNotice.h"

#include <QString>
#include <functional>

namespace platform {
class UserDefaults;
}

// Tells the user, once per run, that the settings file is there but could
// not be opened: Trovix then runs on its defaults and saves no change, so
// that whatever the file holds survives. A window that does not block; the
// store has logged the reason already.
namespace QXSettingsFileNotice {

// Shows the window when the store could not open its file and it was not
// shown before in this run; answers whether it was shown.
bool announce(const platform::UserDefaults& defaults);

// Replaces the window (tests record notices instead of showing them); an
// empty function restores it.
using Presenter = QXNotice::Presenter;
void setPresenterForTesting(Presenter presenter);

} // namespace QXSettingsFileNotice
