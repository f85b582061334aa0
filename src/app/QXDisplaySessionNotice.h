#pragma once

#include "app/QXNotice.h"
#include "platform/session/DisplaySession.h"

#include <QString>
#include <functional>

namespace platform {
class UserDefaults;
}

// Tells the user what works of Trovix in a Wayland session: one log line at
// every start, and the first time ever a window that does not block (a tray
// utility starts at every login; the same window each time would only
// annoy). Outside a Wayland session it says nothing.
namespace QXDisplaySessionNotice {

// Returns true when the window was shown.
bool announce(const platform::DisplaySession& session, platform::UserDefaults& defaults);

// Replaces the window (tests record notices instead of showing them); an
// empty function restores it.
using Presenter = QXNotice::Presenter;
void setPresenterForTesting(Presenter presenter);

} // namespace QXDisplaySessionNotice
