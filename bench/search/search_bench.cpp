// Timing of the search: ranking per keystroke and reading whole menu trees.
// A plain timing binary; figures go to standard output.

#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/MenuTree.h"
#include "platform/accessibility/MenuTreeRead.h"
#include "platform/accessibility/atspi/AccessibilityBus.h"
#include "platform/accessibility/atspi/AtspiRequests.h"
#include "search/MenuItemRanking.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <atspi/atspi.h>
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

// Reads the tree without blocking and runs the event loop until it is read.
platform::MenuTree readAsync(qint64 pid)
{
    std::unique_ptr<platform::MenuTreeRead> read =
        platform::Accessibility::current().startMenuTreeRead(pid, 50000);
    if (!read->isFinished()) {
        QEventLoop loop;
        QObject::connect(read.get(), &platform::MenuTreeRead::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return read->tree();
}

// What libatspi alone costs for the same reads: a plain depth-first loop of
// child, name, role and state requests from the application down to every
// object of its menu bar (the menu bar looked for the same way the program
// does), libatspi's own cache emptied first so that every value is asked
// for.
// The application's object, found once outside the timing, as the program
// keeps it too.
AtspiAccessible* applicationObject(qint64 pid)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    AtspiAccessible* application = nullptr;
    const gint applications = atspi_accessible_get_child_count(desktop, nullptr);
    for (gint i = 0; i < applications && !application; ++i) {
        AtspiAccessible* candidate = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (candidate && qint64(atspi_accessible_get_process_id(candidate, nullptr)) == pid) {
            application = candidate;
        } else if (candidate) {
            g_object_unref(candidate);
        }
    }
    g_object_unref(desktop);
    return application;
}

int bareLibatspiWalk(AtspiAccessible* application)
{
    if (!application) {
        return 0;
    }
    atspi_accessible_clear_cache(application);
    int objects = 0;
    std::function<AtspiAccessible*(AtspiAccessible*, int)> findMenuBar =
        [&](AtspiAccessible* object, int depth) -> AtspiAccessible* {
        const gint count = atspi_accessible_get_child_count(object, nullptr);
        for (gint i = 0; i < count; ++i) {
            AtspiAccessible* child = atspi_accessible_get_child_at_index(object, i, nullptr);
            if (!child) {
                continue;
            }
            const AtspiRole role = atspi_accessible_get_role(child, nullptr);
            if (role == ATSPI_ROLE_MENU_BAR) {
                return child;
            }
            AtspiAccessible* found = depth < 3 ? findMenuBar(child, depth + 1) : nullptr;
            g_object_unref(child);
            if (found) {
                return found;
            }
        }
        return nullptr;
    };
    std::function<void(AtspiAccessible*)> walk = [&](AtspiAccessible* object) {
        const gint count = atspi_accessible_get_child_count(object, nullptr);
        for (gint i = 0; i < count; ++i) {
            AtspiAccessible* child = atspi_accessible_get_child_at_index(object, i, nullptr);
            if (!child) {
                continue;
            }
            ++objects;
            g_free(atspi_accessible_get_name(child, nullptr));
            atspi_accessible_get_role(child, nullptr);
            if (AtspiStateSet* states = atspi_accessible_get_state_set(child)) {
                g_object_unref(states);
            }
            walk(child);
            g_object_unref(child);
        }
    };
    if (AtspiAccessible* menuBar = findMenuBar(application, 0)) {
        walk(menuBar);
        g_object_unref(menuBar);
    }
    return objects;
}

void ratio(const char* what, double numerator, double denominator, const char* target)
{
    if (numerator > 0 && denominator > 0) {
        out << "  " << what << " = " << numerator / denominator << " (target " << target << ")\n";
    }
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
    // The three reads take turns, so that load from elsewhere falls on all
    // of them alike.
    QList<qint64> bare;
    QList<qint64> wholeTimes;
    QList<qint64> asyncTimes;
    platform::MenuTree whole;
    platform::MenuTree async;
    for (int round = 0; round < rounds; ++round) {
        bare += timeRounds(1, [&] {
            const QDBusMessage reply =
                bus.call(QDBusMessage::createMethodCall(
                             busName, QStringLiteral("/org/a11y/atspi/cache"),
                             QStringLiteral("org.a11y.atspi.Cache"), QStringLiteral("GetItems")),
                         QDBus::Block, platform::atspi::messagingTimeoutMs());
            objects = reply.type() == QDBusMessage::ReplyMessage ? 1 : 0;
        });
        wholeTimes +=
            timeRounds(1, [&] { whole = platform::Accessibility::current().menuTree(pid, 50000); });
        asyncTimes += timeRounds(1, [&] { async = readAsync(pid); });
    }
    platform::MenuTree walked;
    const QList<qint64> walkTimes = timeRounds(std::max(1, rounds / 5), [&] {
        walked = platform::readMenuTreeItemByItem(
            platform::Accessibility::current().applicationElement(pid), 50000);
    });
    int bareObjects = 0;
    AtspiAccessible* application = applicationObject(pid);
    const QList<qint64> bareWalkTimes =
        timeRounds(std::max(1, rounds / 5), [&] { bareObjects = bareLibatspiWalk(application); });
    if (application) {
        g_object_unref(application);
    }
    const double bareMs = medianMs(bare);
    const double wholeMs = medianMs(wholeTimes);
    const double asyncMs = medianMs(asyncTimes);
    const double walkMs = medianMs(walkTimes);
    const double bareWalkMs = medianMs(bareWalkTimes);
    out << "bus name " << busName << (objects ? " answers" : " does not answer")
        << " GetItems: median " << bareMs << " ms\n"

        << "menuTree (" << platform::menuTreeSourceName(whole.source) << ", " << whole.items.size()
        << " items): median " << wholeMs << " ms\n"
        << "read without blocking (" << platform::menuTreeSourceName(async.source) << ", "
        << async.items.size() << " items): median " << asyncMs << " ms\n"
        << "item by item, blocking (" << walked.items.size() << " items): median " << walkMs
        << " ms\n"
        << "bare libatspi walk of the menu bar (" << bareObjects << " objects): median "
        << bareWalkMs << " ms\n";
    if (async.source == platform::MenuTree::Source::WholeTree) {
        ratio("menuTree / bare GetItems", wholeMs, bareMs, "<= 1.5");
        ratio("read without blocking / bare GetItems", asyncMs, bareMs, "<= 1.5");
        ratio("read without blocking / item by item", asyncMs, walkMs, "<= 0.1");
    } else {
        ratio("read without blocking / bare libatspi walk", asyncMs, bareWalkMs, "<= 1.2");
        ratio("read without blocking / item by item", asyncMs, walkMs, "< 1");
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
