#pragma once

// `trovix check-for-updates [--print]`: one update check, as the program's
// "Check for Updates..." item runs it, recorded in the same status record.
// Without --print the check shows its windows (the update window, or a
// message) and the command ends when they are closed. With --print nothing
// is shown: the resulting status sentence is printed, and the command exits
// 0 when the check ran, 1 with the reason on stderr when it could not.
int runCheckForUpdatesCommand(int argc, char** argv);
