// trovix-log: the entries of the system journal as a JSON array, for the log
// reader. `show` writes the entries of a period and exits; `stream` writes
// entries as they arrive until SIGTERM, SIGINT or SIGHUP, or until its reader
// goes away.
#include "platform/logstore/LogOutput.h"
#include "platform/logstore/LogTool.h"
#include "platform/logstore/journald/JournalLogSource.h"

#include <QStringList>
#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace platform::logstore;

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }

    // A reader that goes away shows up as EPIPE on the next write, not as a
    // fatal signal. Termination signals are taken through a descriptor, so
    // the wait for new entries ends at once and the array is closed properly.
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    JournalLogSource source(stopFd, STDOUT_FILENO);
    LogOutput out(STDOUT_FILENO, stopFd);
    QString messages;
    const int status = runLogTool(arguments, source, out, &messages);
    if (!messages.isEmpty()) {
        std::fputs(messages.toLocal8Bit().constData(), stderr);
    }
    return status;
}
