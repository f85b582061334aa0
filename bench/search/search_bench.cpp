// Timing of the search: ranking per keystroke and reading whole menu trees.
// A plain timing binary; figures go to standard output.

#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/atspi/AccessibilityBus.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "search/MenuItemRanking.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

QTextStream out(stdout);

double medianMs(QList<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds.isEmpty() ? 0.0 : double(nanoseconds.at(nanoseconds.size() / 2)) / 1e6;
}

QList<qint64> timeRounds(int rounds, const std::function<void()>& work)
{
    QList<qint64> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed());
    }
    return times;
}

int benchRanking(int rounds)
{
    static const char* const words[] = {"New",    "Open",   "Save",      "Window",  "Document",
                                        "Format", "Insert", "Selection", "View",    "Recent",
                                        "Export", "Print",  "Find",      "Replace", "Zoom"};
    QRandomGenerator random(42);
    QList<QStringList> paths;
    for (int i = 0; i < 10000; ++i) {
        QStringList path;
        const int depth = 2 + int(random.bounded(3));
        for (int d = 0; d < depth; ++d) {
            path.append(QString::fromLatin1(words[random.bounded(15)]) + u' ' +
                        QString::fromLatin1(words[random.bounded(15)]));
        }
        paths.append(path);
    }
    MenuItemRanking ranking;
    QElapsedTimer indexing;
    indexing.start();
    ranking.setItems(paths);
    out << "indexing 10000 items: " << double(indexing.nsecsElapsed()) / 1e6 << " ms\n";
    // Typing the query one character at a time, as in the pop-up: each
    // keystroke ranks the query typed so far.
    const QString typed = QStringLiteral("new win sel");
    QList<QList<qint64>> times(typed.size());
    QList<qsizetype> shown(typed.size());
    for (int round = 0; round < rounds; ++round) {
        for (int length = 1; length <= typed.size(); ++length) {
            QElapsedTimer timer;
            timer.start();
            shown[length - 1] = ranking.rank(typed.left(length), 20).size();
            times[length - 1].append(timer.nsecsElapsed());
        }
    }
    for (int length = 1; length <= typed.size(); ++length) {
        const QList<qint64>& keystroke = times.at(length - 1);
        out << "keystroke " << length << " \"" << typed.left(length)
            << "\" over 10000 items: median " << medianMs(keystroke) << " ms, worst "
            << double(*std::max_element(keystroke.begin(), keystroke.end())) / 1e6 << " ms ("
            << shown.at(length - 1) << " shown)\n";
    }
    QList<qint64> fresh;
    for (int round = 0; round < rounds; ++round) {
        ranking.setItems(paths);
        QElapsedTimer timer;
        timer.start();
        ranking.rank(typed, 20);
        fresh.append(timer.nsecsElapsed());
    }
    out << "whole query \"" << typed << "\" at once over 10000 items: median " << medianMs(fresh)
        << " ms\n";
    return 0;
}

// The application's name on the accessibility bus, found by its process.
QString busNameOf(qint64 pid)
{
    QDBusConnection bus = QDBusConnection::connectToBus(platform::AccessibilityBus().address(),
                                                        QStringLiteral("trovix-bench-search"));
    const QStringList names = bus.interface()->registeredServiceNames().value();
    for (const QString& name : names) {
        if (name.startsWith(u':') && bus.interface()->servicePid(name).value() == pid) {
            return name;
        }
    }
    return QString();
}

int benchTree(qint64 pid, int rounds)
{
    if (!QXAccessibilityIsTrusted(false)) {
        out << "accessibility is off\n";
        return 1;
    }
    QXAccessibilityPrepare();
    const QString busName = busNameOf(pid);
    QDBusConnection bus(QStringLiteral("trovix-bench-search"));
    int objects = 0;
    const QList<qint64> bare = timeRounds(rounds, [&] {
        const QDBusMessage reply =
            bus.call(QDBusMessage::createMethodCall(
                         busName, QStringLiteral("/org/a11y/atspi/cache"),
                         QStringLiteral("org.a11y.atspi.Cache"), QStringLiteral("GetItems")),
                     QDBus::Block, platform::atspi::messagingTimeoutMs());
        objects = reply.type() == QDBusMessage::ReplyMessage ? 1 : 0;
    });
    platform::MenuTree whole;
    const QList<qint64> wholeTimes = timeRounds(
        rounds, [&] { whole = platform::Accessibility::current().menuTree(pid, 50000); });
    platform::MenuTree walked;
    const QList<qint64> walkTimes = timeRounds(std::max(1, rounds / 5), [&] {
        walked = platform::readMenuTreeItemByItem(
            platform::Accessibility::current().applicationElement(pid), 50000);
    });
    out << "bus name " << busName << (objects ? " answers" : " does not answer")
        << " GetItems: median " << medianMs(bare) << " ms\n"
        << "menuTree (" << platform::menuTreeSourceName(whole.source) << ", " << whole.items.size()
        << " items): median " << medianMs(wholeTimes) << " ms\n"
        << "item by item (" << walked.items.size() << " items): median " << medianMs(walkTimes)
        << " ms\n";
    if (medianMs(bare) > 0 && medianMs(walkTimes) > 0) {
        out << "menuTree / bare GetItems = " << medianMs(wholeTimes) / medianMs(bare)
            << ", menuTree / item by item = " << medianMs(wholeTimes) / medianMs(walkTimes) << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    qint64 pid = -1;
    int rounds = 200;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QStringLiteral("--pid")) {
            pid = arguments.at(i + 1).toLongLong();
        } else if (arguments.at(i) == QStringLiteral("--rounds")) {
            rounds = std::max(1, arguments.at(i + 1).toInt());
        }
    }
    return pid > 0 ? benchTree(pid, std::max(1, rounds / 10)) : benchRanking(rounds);
}
