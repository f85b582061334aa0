// Times the check that decides whether the log can be shown: the journal
// opened and its last minute read, as canDisplayLog() does once per process
// on the main thread (see README.md).
//   trovix-bench-journal-check [--rounds N]
#include "platform/logstore/JournalAccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const qsizetype index = arguments.indexOf(QStringLiteral("--rounds"));
    const int rounds = std::max(
        1, index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1).toInt() : 5);
    std::vector<double> times;
    bool readable = false;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        readable = platform::logstore::checkJournalAccess().readable;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("journal check, %d rounds: readable %s, min %.2f ms, median %.2f ms, max %.2f ms\n",
                rounds, readable ? "yes" : "no", times.front(), times.at(times.size() / 2),
                times.back());
    return 0;
}
