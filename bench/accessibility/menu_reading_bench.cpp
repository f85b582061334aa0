// Reads applications' menu bars, the top level and then the whole tree,
// through the program's functions (QXMenuBarItemsForApplication and
// QXCopyAttribute for the attributes a pop-up reads) and through bare
// libatspi calls asking for the same facts, side by side. For each it reports
// the D-Bus requests sent and the milliseconds of a first
// pass and the minimum and median of further passes; for the full tree also
// one org.a11y.atspi.Cache.GetItems call, where the toolkit answers it.
// Run it inside a desktop session with the applications on the bus:
//   trovix-bench-menu-reading [--rounds N] [--wait S] --pid N [--pid N ...]
// (--wait: first wait up to S seconds for every menu bar to appear; see
// bench/accessibility/README.md; run-menu-reading.sh starts everything).

#include "RequestCounter.h"
#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/workspace/RunningApplication.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <atspi/atspi.h>
#include <cstdio>
#include <dbus/dbus.h>
#include <functional>

namespace {

using platform::AccessibilityElement;
using platform::AccessibilityElementList;

// What a pop-up reads of every item (QXProxyMenuItem): the title, key
// equivalent, enabled state, submenu, mark and primary element; inside
// submenus also the position, which decides whether the item is hidden.
const char* const ItemAttributes[] = {
    "AXTitle",   "AXMenuItemCmdChar",  "AXMenuItemCmdVirtualKey",   "AXMenuItemCmdModifiers",
    "AXEnabled", "AXMenuItemMarkChar", "AXMenuItemPrimaryUIElement"};

QVariant attribute(const AccessibilityElement& element, const char* name)
{
    return QXCopyAttribute(element, QString::fromLatin1(name)).value_or(QVariant());
}

int readItem(const AccessibilityElement& item, bool inSubmenu, bool deep)
{
    int items = 1;
    for (const char* name : ItemAttributes) {
        attribute(item, name);
    }
    if (inSubmenu) {
        attribute(item, "AXPosition");
    }
    const AccessibilityElementList children =
        platform::accessibilityElementListFromVariant(attribute(item, "AXChildren"));
    for (const AccessibilityElement& child : children) {
        if (attribute(child, "AXRole").toString() != QStringLiteral("AXMenu")) {
            continue;
        }
        if (deep) {
            const AccessibilityElementList entries =
                platform::accessibilityElementListFromVariant(attribute(child, "AXChildren"));
            for (const AccessibilityElement& entry : entries) {
                items += readItem(entry, true, true);
            }
        }
        break;
    }
    return items;
}

int readThroughProgram(qint64 pid, bool deep)
{
    const platform::RunningApplication application(
        pid, QStringLiteral("bench"), QUrl(),
        platform::RunningApplication::ActivationPolicy::Regular);
    const auto items = QXMenuBarItemsForApplication(application);
    int count = 0;
    for (const AccessibilityElement& item : items.value_or(AccessibilityElementList())) {
        count += readItem(item, false, deep);
    }
    return count;
}

// The same full tree through the whole-tree read the program uses where the
// application answers it (dump-menu): the menus from one GetItems reply, each
// menu asked for its children and key bindings in one round trip.
int readThroughWholeTree(qint64 pid)
{
    const AccessibilityElement application =
        platform::Accessibility::current().applicationElement(pid);
    const QVariant menuBar = attribute(application, "AXWholeMenuBar");
    if (!menuBar.isValid()) {
        return 0;
    }
    int count = 0;
    for (const AccessibilityElement& item : platform::accessibilityElementListFromVariant(
             attribute(platform::accessibilityElementFromVariant(menuBar), "AXChildren"))) {
        count += readItem(item, false, true);
    }
    return count;
}

void clear(GError*& error)
{
    if (error) {
        g_error_free(error);
        error = nullptr;
    }
}

AtspiAccessible* findApplication(qint64 pid)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    GError* error = nullptr;
    AtspiAccessible* found = nullptr;
    const int count = atspi_accessible_get_child_count(desktop, &error);
    clear(error);
    for (int i = 0; i < count && !found; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (application && atspi_accessible_get_process_id(application, &error) == pid) {
            found = application;
        } else if (application) {
            g_object_unref(application);
        }
        clear(error);
    }
    g_object_unref(desktop);
    return found;
}

AtspiAccessible* findMenuBar(AtspiAccessible* object, int depth)
{
    GError* error = nullptr;
    if (atspi_accessible_get_role(object, &error) == ATSPI_ROLE_MENU_BAR) {
        return static_cast<AtspiAccessible*>(g_object_ref(object));
    }
    clear(error);
    if (depth == 0) {
        return nullptr;
    }
    const int count = atspi_accessible_get_child_count(object, &error);
    clear(error);
    for (int i = 0; i < count; ++i) {
        AtspiAccessible* child = atspi_accessible_get_child_at_index(object, i, &error);
        clear(error);
        if (!child) {
            continue;
        }
        AtspiAccessible* bar = findMenuBar(child, depth - 1);
        g_object_unref(child);
        if (bar) {
            return bar;
        }
    }
    return nullptr;
}

// The same facts a pop-up reads, asked directly: name, role, states, key
// binding, and the submenu (GTK: the item itself, of role menu; Qt: its one
// child), whose entries are read in the full tree.
int readBare(AtspiAccessible* item, bool deep)
{
    GError* error = nullptr;
    g_free(atspi_accessible_get_name(item, &error));
    clear(error);
    const AtspiRole role = atspi_accessible_get_role(item, &error);
    clear(error);
    g_object_unref(atspi_accessible_get_state_set(item));
    if (AtspiAction* action = atspi_accessible_get_action_iface(item)) {
        g_free(atspi_action_get_key_binding(action, 0, &error));
        clear(error);
        g_object_unref(action);
    }
    int items = 1;
    if (role == ATSPI_ROLE_SEPARATOR) {
        return items;
    }
    AtspiAccessible* menu =
        role == ATSPI_ROLE_MENU ? static_cast<AtspiAccessible*>(g_object_ref(item)) : nullptr;
    if (!menu && atspi_accessible_get_child_count(item, &error) > 0) {
        menu = atspi_accessible_get_child_at_index(item, 0, &error);
    }
    clear(error);
    if (menu && deep) {
        const int count = atspi_accessible_get_child_count(menu, &error);
        clear(error);
        for (int i = 0; i < count; ++i) {
            AtspiAccessible* child = atspi_accessible_get_child_at_index(menu, i, &error);
            clear(error);
            if (child) {
                items += readBare(child, true);
                g_object_unref(child);
            }
        }
    }
    if (menu) {
        g_object_unref(menu);
    }
    return items;
}

int readThroughLibatspi(qint64 pid, bool deep)
{
    AtspiAccessible* application = findApplication(pid);
    if (!application) {
        return 0;
    }
    AtspiAccessible* bar = findMenuBar(application, 5);
    g_object_unref(application);
    if (!bar) {
        return 0;
    }
    GError* error = nullptr;
    const int count = atspi_accessible_get_child_count(bar, &error);
    clear(error);
    int items = 0;
    for (int i = 0; i < count; ++i) {
        AtspiAccessible* child = atspi_accessible_get_child_at_index(bar, i, &error);
        clear(error);
        if (child) {
            items += readBare(child, deep);
            g_object_unref(child);
        }
    }
    g_object_unref(bar);
    return items;
}

// One org.a11y.atspi.Cache.GetItems call to the application: every object it
// publishes with name, role, states and place in the tree (no key bindings).
// Answers the number of objects, 0 when the toolkit answers with nothing.
int readThroughCache(qint64 pid)
{
    AtspiAccessible* application = findApplication(pid);
    if (!application) {
        return 0;
    }
    const QByteArray busName =
        application->parent.app ? QByteArray(application->parent.app->bus_name) : QByteArray();
    g_object_unref(application);
    if (busName.isEmpty()) {
        return 0;
    }
    DBusMessage* call = dbus_message_new_method_call(busName.constData(), "/org/a11y/atspi/cache",
                                                     "org.a11y.atspi.Cache", "GetItems");
    DBusError dbusError;
    dbus_error_init(&dbusError);
    DBusMessage* reply =
        dbus_connection_send_with_reply_and_block(atspi_get_a11y_bus(), call, 1000, &dbusError);
    dbus_message_unref(call);
    dbus_error_free(&dbusError);
    if (!reply) {
        return 0;
    }
    int items = 0;
    DBusMessageIter iterator;
    if (dbus_message_iter_init(reply, &iterator) &&
        dbus_message_iter_get_arg_type(&iterator) == DBUS_TYPE_ARRAY) {
        items = dbus_message_iter_get_element_count(&iterator);
    }
    dbus_message_unref(reply);
    return items;
}

struct Sample
{
    double milliseconds = 0;
    int requests = 0;
    int items = 0;
};

Sample measure(const std::function<int()>& read)
{
    RequestCounter::takeCount();
    QElapsedTimer timer;
    timer.start();
    Sample sample;
    sample.items = read();
    sample.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    sample.requests = RequestCounter::takeCount();
    return sample;
}

struct Summary
{
    Sample first;
    double minimum = 0;
    double median = 0;
    int requests = 0; // of the last pass
};

double medianOf(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

void printRow(const char* application, const char* level, const char* path, const Summary& summary,
              int rounds)
{
    std::printf("%-26s %-9s %-9s %5d %8d %9.2f %9.2f %9.2f %7d\n", application, level, path,
                summary.first.items, summary.first.requests, summary.first.milliseconds,
                rounds > 0 ? summary.minimum : summary.first.milliseconds,
                rounds > 0 ? summary.median : summary.first.milliseconds, summary.requests);
}

// The requests of one more pass of each path, by kind, side by side.
void printTally(const char* application, const char* level, const std::function<int()>& program,
                const std::function<int()>& bare)
{
    RequestCounter::setTallying(true);
    RequestCounter::takeTally();
    program();
    const QMap<QByteArray, int> programTally = RequestCounter::takeTally();
    bare();
    const QMap<QByteArray, int> bareTally = RequestCounter::takeTally();
    RequestCounter::setTallying(false);
    QMap<QByteArray, int> kinds = programTally;
    kinds.insert(bareTally);
    for (auto kind = kinds.cbegin(); kind != kinds.cend(); ++kind) {
        std::printf("%-26s %-9s   %-62s program %4d  libatspi %4d\n", application, level,
                    kind.key().constData(), programTally.value(kind.key()),
                    bareTally.value(kind.key()));
    }
}

// The file name of the program the process runs (the kernel's process name
// is cut at 15 characters).
QString processName(qint64 pid)
{
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    const QByteArray program = commandLine.open(QIODevice::ReadOnly)
                                   ? commandLine.readAll().split('\0').value(0)
                                   : QByteArray();
    return program.isEmpty() ? QString::number(pid)
                             : QString::fromLocal8Bit(program).section(u'/', -1);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).section(u' ', 0, 2)
                                          : QStringLiteral("unknown");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QList<qint64> pids;
    int rounds = 9;
    int waitSeconds = 0;
    const bool tally = arguments.contains(QStringLiteral("--tally"));
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QStringLiteral("--pid")) {
            pids.append(arguments.at(++i).toLongLong());
        } else if (arguments.at(i) == QStringLiteral("--rounds")) {
            rounds = std::max(0, arguments.at(++i).toInt());
        } else if (arguments.at(i) == QStringLiteral("--wait")) {
            waitSeconds = std::max(0, arguments.at(++i).toInt());
        }
    }
    if (pids.isEmpty()) {
        std::fprintf(stderr, "usage: trovix-bench-menu-reading [--rounds N] [--wait S] [--tally] "
                             "--pid N [--pid N ...]\n");
        return 2;
    }
    atspi_init();
    QXAccessibilitySetGlobalMessagingTimeout(1.0f);
    QElapsedTimer waited;
    waited.start();
    for (const qint64 pid : std::as_const(pids)) {
        while (readThroughLibatspi(pid, false) == 0) {
            if (waited.elapsed() >= waitSeconds * 1000) {
                std::fprintf(stderr, "no menu bar of process %lld on the accessibility bus\n",
                             static_cast<long long>(pid));
                return 1;
            }
            QThread::msleep(200);
        }
    }

    std::printf("load average before: %s; %d timed passes after the first\n",
                qPrintable(loadAverage()), rounds);
    std::printf("%-26s %-9s %-9s %5s %8s %9s %9s %9s %7s\n", "application", "level", "path",
                "items", "req 1st", "1st ms", "min ms", "median ms", "req");
    for (const qint64 pid : std::as_const(pids)) {
        const QByteArray name = QStringLiteral("%1 (%2)").arg(processName(pid)).arg(pid).toUtf8();
        for (const bool deep : {false, true}) {
            const char* level = deep ? "full tree" : "top level";
            const std::function<int()> program = [&] { return readThroughProgram(pid, deep); };
            const std::function<int()> bare = [&] { return readThroughLibatspi(pid, deep); };
            Summary programSummary;
            Summary bareSummary;
            // The first pass of each pays for what libatspi then keeps
            // (proxies, cached roles and states): alternate which goes first.
            programSummary.first = measure(program);
            bareSummary.first = measure(bare);
            QList<double> programTimes;
            QList<double> bareTimes;
            for (int round = 0; round < rounds; ++round) {
                const bool programFirst = round % 2 == 1;
                const Sample a = measure(programFirst ? program : bare);
                const Sample b = measure(programFirst ? bare : program);
                const Sample& programSample = programFirst ? a : b;
                const Sample& bareSample = programFirst ? b : a;
                programTimes.append(programSample.milliseconds);
                bareTimes.append(bareSample.milliseconds);
                programSummary.requests = programSample.requests;
                bareSummary.requests = bareSample.requests;
            }
            if (rounds > 0) {
                programSummary.minimum =
                    *std::min_element(programTimes.begin(), programTimes.end());
                programSummary.median = medianOf(programTimes);
                bareSummary.minimum = *std::min_element(bareTimes.begin(), bareTimes.end());
                bareSummary.median = medianOf(bareTimes);
            } else {
                programSummary.requests = programSummary.first.requests;
                bareSummary.requests = bareSummary.first.requests;
            }
            printRow(name.constData(), level, "program", programSummary, rounds);
            printRow(name.constData(), level, "libatspi", bareSummary, rounds);
            const double programMedian =
                rounds > 0 ? programSummary.median : programSummary.first.milliseconds;
            const double bareMedian =
                rounds > 0 ? bareSummary.median : bareSummary.first.milliseconds;
            std::printf("%-26s %-9s ratio     median %.2f, min %.2f\n", name.constData(), level,
                        bareMedian > 0 ? programMedian / bareMedian : 0.0,
                        rounds > 0 && bareSummary.minimum > 0
                            ? programSummary.minimum / bareSummary.minimum
                            : 0.0);
            if (tally) {
                printTally(name.constData(), level, program, bare);
            }
            if (deep) {
                // Reads that take the whole tree at once, timed on their own.
                const auto summarize = [rounds](const std::function<int()>& read) {
                    Summary summary;
                    summary.first = measure(read);
                    QList<double> times;
                    for (int round = 0; round < rounds; ++round) {
                        const Sample sample = measure(read);
                        times.append(sample.milliseconds);
                        summary.requests = sample.requests;
                    }
                    if (rounds > 0) {
                        summary.minimum = *std::min_element(times.begin(), times.end());
                        summary.median = medianOf(times);
                    } else {
                        summary.requests = summary.first.requests;
                    }
                    return summary;
                };
                printRow(name.constData(), level, "GetItems",
                         summarize([&] { return readThroughCache(pid); }), rounds);
                printRow(name.constData(), level, "whole",
                         summarize([&] { return readThroughWholeTree(pid); }), rounds);
            }
        }
    }
    std::printf("load average after: %s\n", qPrintable(loadAverage()));
    return 0;
}
