// What finding the pointer costs: the position the process-wide pointer
// location gives, and the time each answer takes, as median and worst over
// the rounds. In a Wayland session that is the probe window's round trip.
//   trovix-bench-pointer [--rounds N]

#include "platform/pointer/PointerLocation.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <vector>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    int rounds = 20;
    const QStringList arguments = QGuiApplication::arguments();
    const qsizetype index = arguments.indexOf(QStringLiteral("--rounds"));
    if (index > 0 && index + 1 < arguments.size()) {
        rounds = std::clamp(arguments.at(index + 1).toInt(), 1, 10000);
    }
    QTextStream out(stdout);
    std::vector<double> times;
    QPoint position;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        position = platform::PointerLocation::current().position();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    out << "platform " << QGuiApplication::platformName() << '\n'
        << "position " << position.x() << ' ' << position.y() << '\n'
        << "rounds " << rounds << '\n'
        << "median_ms " << times.at(times.size() / 2) << '\n'
        << "worst_ms " << times.back() << '\n';
    return 0;
}
