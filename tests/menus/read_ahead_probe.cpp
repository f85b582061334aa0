// Reads a running application's menu bar ahead, as Trovix does when the
// application comes to the front, and compares the pop-up shown from what
// was kept with one read afresh, for the desktop tests:
//   trovix-read-ahead-probe PID [--fast-track all|TITLE,...]
// Each line on standard input is a command, answered with one JSON line:
//   front     the application came to the front; answered once its read
//             has finished
//   trigger   the same, and a pop-up asked for at once, while the read is
//             under way
//   compare   once reading has come to rest, the pop-up from what is kept
//             and a fresh one, both with their submenus opened, printed
//             as text; "same" tells whether they are equal
//   shown     once reading has come to rest, the pop-up as a trigger shows
//             it (what is kept, shown as read) and, once the check of it
//             has ended, built again when the check found changes; "checked"
//             and "changed" tell what the check found, "same" whether the
//             pop-up then equals a fresh one
// Every answer holds "kept" (a menu bar is kept), "shownAsRead" (pop-ups
// show it without asking again) and "reads" (how many reads were started
// so far).

#include "app/PopupCommand.h"
#include "app/QXDefaultsRegistration.h"
#include "app/QXMainController.h"
#include "menus/QXAccessibility.h"
#include "menus/QXMenuReadAhead.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/menus/Menu.h"
#include "platform/workspace/RunningApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {

// Serves the event loop until done answers true, for at most ms.
bool serveUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QString menuText(platform::Menu& menu)
{
    QString text;
    QTextStream out(&text);
    printPopUpMenu(menu, 3, out);
    out.flush();
    return text;
}

QString popUpText(const platform::RunningApplication& application)
{
    auto menu = std::make_unique<platform::Menu>(QStringLiteral("Trovix Proxy"));
    std::shared_ptr<platform::MenuItem> systemMenu;
    QXMainController::mainController().populateMenu(
        *menu, QXMenuBarItemsForApplication(application), &systemMenu, std::nullopt);
    return menuText(*menu);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: trovix-read-ahead-probe PID [--fast-track all|TITLE,...]\n");
        return 2;
    }
    const qint64 pid = arguments.at(1).toLongLong();
    platform::MenuBarReadDepth depth;
    if (arguments.size() > 3 && arguments.at(2) == u"--fast-track") {
        depth = arguments.at(3) == u"all" ? QStringList() : arguments.at(3).toLower().split(u',');
    }
    QXDefaultsRegistration::registerDefaults(platform::UserDefaults::standard());
    if (!QXAccessibilityPrepare()) {
        std::fprintf(stderr, "accessibility is off\n");
        return 1;
    }
    QXProxyMenuItem::updatePreferences();
    if (depth) {
        // Pop-ups fill the menus read ahead at once, as they do for the
        // "Fast Track" entries a read ahead reads.
        QStringList entries;
        for (const QString& title : depth->isEmpty() ? QStringList{QString()} : *depth) {
            entries.append(QStringLiteral("probe > ") + title);
        }
        platform::UserDefaults::standard().setObject(entries.join(u'\n'),
                                                     QStringLiteral("Fast Track"));
    }
    const platform::RunningApplication target(
        pid, QStringLiteral("probe"), QUrl(),
        platform::RunningApplication::ActivationPolicy::Regular);

    QXMenuReadAhead readAhead([depth](qint64) { return depth; });
    const auto status = [&](QJsonObject answer) {
        answer.insert(QStringLiteral("kept"), readAhead.isKept(pid));
        answer.insert(QStringLiteral("reads"), readAhead.readsStarted());
        answer.insert(QStringLiteral("shownAsRead"), readAhead.isShownAsRead(pid));
        std::printf("%s\n", QJsonDocument(answer).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    };
    // At rest: no read under way, and none due (a change seen within the
    // last refresh interval is read once it has passed).
    const auto atRest = [&] {
        QElapsedTimer quiet;
        quiet.start();
        serveUntil(
            [&] {
                if (readAhead.isReading(pid)) {
                    quiet.restart();
                }
                return quiet.elapsed() > QXMenuReadAhead::RefreshIntervalMs + 100;
            },
            10000);
    };

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) {
            QCoreApplication::quit();
            return;
        }
        const QString command = QString::fromUtf8(line).trimmed();
        if (command == u"front") {
            readAhead.applicationBecameFront(pid);
            serveUntil([&] { return !readAhead.isReading(pid); }, 10000);
            status({});
        } else if (command == u"trigger") {
            readAhead.applicationBecameFront(pid);
            const bool reading = readAhead.isReading(pid);
            const QString kept = popUpText(target);
            status({{"readingAtTrigger", reading}, {"items", kept.count(u'\n')}});
        } else if (command == u"compare") {
            atRest();
            const bool wasKept = readAhead.isKept(pid);
            const QString kept = popUpText(target);
            QString fresh;
            {
                // The newest read-ahead alive is the one asked: an empty one
                // makes the pop-up read everything afresh.
                QXMenuReadAhead nothingKept({});
                fresh = popUpText(target);
            }
            QJsonObject answer{{"keptBefore", wasKept}, {"same", kept == fresh}};
            if (kept != fresh) {
                answer.insert(QStringLiteral("keptMenu"), kept);
                answer.insert(QStringLiteral("freshMenu"), fresh);
            }
            status(answer);
        } else if (command == u"shown") {
            atRest();
            QXMainController& controller = QXMainController::mainController();
            bool checked = false;
            bool changed = false;
            const QMetaObject::Connection connection = QObject::connect(
                &readAhead, &QXMenuReadAhead::menusChecked, [&](qint64 checkedPid, bool found) {
                    checked = checked || checkedPid == pid;
                    changed = changed || (checkedPid == pid && found);
                });
            const std::unique_ptr<platform::Menu> menu =
                controller.buildPopUpMenu(false, target, QXMenuReadAhead::Freshness::CheckedLater);
            const bool checking = readAhead.isReading(pid);
            serveUntil([&] { return !readAhead.isReading(pid); }, 10000);
            QObject::disconnect(connection);
            if (menu && changed) {
                controller.rebuildPopUpMenu(*menu, false);
            }
            const QString shown = menu ? menuText(*menu) : QString();
            QString fresh;
            {
                QXMenuReadAhead nothingKept({});
                const std::unique_ptr<platform::Menu> freshMenu =
                    controller.buildPopUpMenu(false, target);
                fresh = freshMenu ? menuText(*freshMenu) : QString();
            }
            QJsonObject answer{{"checking", checking},
                               {"checked", checked},
                               {"changed", changed},
                               {"same", !shown.isEmpty() && shown == fresh}};
            if (shown != fresh) {
                answer.insert(QStringLiteral("keptMenu"), shown);
                answer.insert(QStringLiteral("freshMenu"), fresh);
            }
            status(answer);
        } else {
            status({{"error", QStringLiteral("unknown command")}});
        }
    });
    return QApplication::exec();
}
