#pragma once

#include <QString>

namespace platform {

// What /proc tells about a process: whether it still runs, its name and its
// executable.
class ProcessTable
{
public:
    // A process that has ended but was not collected by its parent yet (a
    // zombie) does not run any more.
    static bool processExists(qint64 pid);
    // The kernel's name of the process (at most 15 characters); empty when
    // the process does not exist.
    static QString processName(qint64 pid);
    // The absolute path of the executable; empty when it cannot be read (a
    // process of another user, a kernel thread).
    static QString executablePath(qint64 pid);
};

} // namespace platform
