// Reads a running application's menu tree for the desktop tests and prints
// it as JSON:
//   trovix-menu-tree-probe sync PID          the blocking read (menuTree)
//   trovix-menu-tree-probe walk PID          the blocking read, item by item
//   trovix-menu-tree-probe async PID [OPTIONS]
// The async read runs while a timer ticks every 10 ms; the JSON tells how
// often it ticked. Options: --item-by-item (skip the object cache),
// --stop-after N / --terminate-after N (send the application SIGSTOP or
// SIGTERM once N batches of items have arrived; 0: before the read starts;
// a stopped application is continued before the probe exits).
//   trovix-menu-tree-probe watch PID
// keeps the tree in a MenuTreeCache and answers each line on standard input
// with whether it is still kept and how many change events were judged; the
// line "read" reads the tree again through the cache first.

#include "menus/QXAccessibility.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/accessibility/AccessibilityNames.h"
#include "platform/accessibility/MenuTreeCache.h"
#include "platform/accessibility/atspi/AtspiApplicationDirectory.h"
#include "platform/accessibility/atspi/AtspiMenuTreeRead.h"
#include "platform/accessibility/atspi/AtspiMenuWatch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace platform;
using namespace platform::accessibility;

namespace {

QJsonObject treeJson(const MenuTree& tree)
{
    QJsonArray items;
    for (const MenuTreeItem& item : tree.items) {
        QJsonObject object{{"path", QJsonArray::fromStringList(item.path)},
                           {"enabled", item.enabled},
                           {"hidden", item.hidden},
                           {"mark", item.mark}};
        // What a pop-up shows beside the item, asked of the item's element.
        object.insert("key",
                      item.element.copyAttribute(CmdCharAttribute).value_or(QVariant()).toString());
        object.insert(
            "virtualKey",
            item.element.copyAttribute(CmdVirtualKeyAttribute).value_or(QVariant(-1)).toInt());
        object.insert(
            "modifiers",
            item.element.copyAttribute(CmdModifiersAttribute).value_or(QVariant(-1)).toInt());
        items.append(object);
    }
    return QJsonObject{
        {"source", menuTreeSourceName(tree.source)}, {"complete", tree.complete}, {"items", items}};
}

void print(const QJsonObject& object)
{
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int readAsync(qint64 pid, const QStringList& options)
{
    const bool itemByItem = options.contains(QStringLiteral("--item-by-item"));
    int signal = 0;
    int signalAfter = -1;
    for (qsizetype i = 0; i + 1 < options.size(); ++i) {
        if (options.at(i) == QStringLiteral("--stop-after")) {
            signal = SIGSTOP;
            signalAfter = options.at(i + 1).toInt();
        } else if (options.at(i) == QStringLiteral("--terminate-after")) {
            signal = SIGTERM;
            signalAfter = options.at(i + 1).toInt();
        }
    }
    // Finding the application once sets libatspi up for the directory.
    Accessibility::current().applicationElement(pid);
    atspi::AtspiApplicationDirectory directory;
    const QString busName = directory.find(pid).busName;
    int ticks = 0;
    int batches = 0;
    bool stopped = false;
    const auto maybeSignal = [&] {
        if (signal != 0 && batches == signalAfter) {
            ::kill(pid_t(pid), signal);
            stopped = signal == SIGSTOP;
        }
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);
    maybeSignal();
    std::unique_ptr<MenuTreeRead> read;
    if (itemByItem) {
        read = std::make_unique<atspi::AtspiMenuTreeRead>(
            busName, pid, 50000, atspi::AtspiMenuTreeRead::Start::ItemByItem);
    } else {
        read = Accessibility::current().startMenuTreeRead(pid, 50000);
    }
    QObject::connect(read.get(), &MenuTreeRead::itemsAdded, [&] {
        ++batches;
        maybeSignal();
    });
    QObject::connect(read.get(), &MenuTreeRead::finished, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
    if (!read->isFinished()) {
        QCoreApplication::exec();
    }
    if (stopped) {
        ::kill(pid_t(pid), SIGCONT);
    }
    QJsonObject result = treeJson(read->tree());
    result.insert("ticks", ticks);
    result.insert("batches", batches);
    print(result);
    return 0;
}

// Reads the tree through the cache; answers whether it is kept.
bool readThrough(MenuTreeCache& cache, qint64 pid)
{
    std::unique_ptr<MenuTreeRead> read = cache.startRead(pid, 50000);
    if (!read->isFinished()) {
        QEventLoop loop;
        QObject::connect(read.get(), &MenuTreeRead::finished, &loop, &QEventLoop::quit,
                         Qt::QueuedConnection);
        loop.exec();
    }
    return !read->tree().items.isEmpty();
}

int watch(qint64 pid)
{
    MenuTreeCache cache;
    readThrough(cache, pid);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    const auto status = [&cache, pid] {
        print(QJsonObject{{"kept", cache.contains(pid)},
                          {"judged", qint64(atspi::AtspiMenuWatch::instance().judgedEvents())}});
    };
    status();
    QObject::connect(&input, &QSocketNotifier::activated, [&cache, pid, &status] {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) {
            QCoreApplication::quit();
            return;
        }
        if (QByteArray(line).trimmed() == "read") {
            readThrough(cache, pid);
        }
        status();
    });
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 2) {
        std::fputs("usage: trovix-menu-tree-probe sync|walk|async|watch PID [OPTIONS]\n", stderr);
        return 2;
    }
    const QString command = arguments.at(0);
    const qint64 pid = arguments.at(1).toLongLong();
    if (!QXAccessibilityPrepare()) {
        std::fputs("accessibility is off\n", stderr);
        return 1;
    }
    if (command == QStringLiteral("sync")) {
        print(treeJson(Accessibility::current().menuTree(pid, 50000)));
        return 0;
    }
    if (command == QStringLiteral("walk")) {
        print(treeJson(
            readMenuTreeItemByItem(Accessibility::current().applicationElement(pid), 50000)));
        return 0;
    }
    if (command == QStringLiteral("async")) {
        return readAsync(pid, arguments.mid(2));
    }
    if (command == QStringLiteral("watch")) {
        return watch(pid);
    }
    std::fputs("unknown command\n", stderr);
    return 2;
}
