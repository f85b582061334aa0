#pragma once

#include <QString>

// Starting the program at login: through the helper where there is one,
// otherwise through the program's own entry in the login-items list. Failures
// are logged with the prefix "[QXLoginItem]"; the check box tells the user
// why a switch failed.
namespace QXLoginItem {

struct State
{
    // The program starts at login.
    bool on = false;
    // The program may switch it from here.
    bool changeable = false;
};

// The helper's identifier: the main bundle's identifier followed by
// ".LoginItemHelper", fixed for the life of the process.
QString helperIdentifier();
// The program's own executable, without symbolic links.
QString applicationPath();

// Whether the program starts at login and whether that can be changed here.
State loginItemState();
// Switches starting at login on or off with the mechanism in use. Answers
// whether the wanted state now holds.
bool setLoginItemEnabled(bool on);
// Why the last switch failed, in the user's words.
QString failureReason();

} // namespace QXLoginItem
