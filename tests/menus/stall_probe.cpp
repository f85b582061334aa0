// Reads the top level of an application's pop-up menu over the real
// accessibility bus after stopping the application (SIGSTOP) between listing
// its menu bar and reading the menus, then lets it go on. Prints one line:
//   items <N> timeouts <T> ms <M>
// for tests/integration/stalled_application_test.sh.

#include "app/QXMainController.h"
#include "menus/QXAccessibility.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/menus/Menu.h"
#include "platform/workspace/Workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const qint64 pid = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 0;
    if (pid <= 0 || !QXAccessibilityPrepare()) {
        std::fputs("usage: trovix-stall-probe PID (with accessibility on)\n", stderr);
        return 2;
    }
    QXProxyMenuItem::updatePreferences();
    const std::optional<platform::AccessibilityElementList> items =
        QXMenuBarItemsForApplication(platform::Workspace::current().runningApplication(pid));
    if (!items || items->isEmpty()) {
        std::fputs("trovix-stall-probe: no menu bar\n", stderr);
        return 1;
    }
    platform::Accessibility& accessibility = platform::Accessibility::current();
    const quint64 timedOutBefore = accessibility.timedOutRequests();
    ::kill(static_cast<pid_t>(pid), SIGSTOP);
    QElapsedTimer timer;
    timer.start();
    platform::Menu menu;
    QXMainController::mainController().populateMenu(menu, items, nullptr, std::nullopt);
    const qint64 elapsed = timer.elapsed();
    ::kill(static_cast<pid_t>(pid), SIGCONT);
    std::printf("items %lld timeouts %llu ms %lld\n", static_cast<long long>(menu.numberOfItems()),
                static_cast<unsigned long long>(accessibility.timedOutRequests() - timedOutBefore),
                static_cast<long long>(elapsed));
    return 0;
}
