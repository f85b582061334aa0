// Builds the pop-up of one application, its top level and then every submenu
// opened, and reads the same facts with bare accessibility requests (the
// attributes the pop-up needs of every item, nothing built), and prints the
// requests and milliseconds of each side by side with their ratio.
//
// Without arguments it runs on the memory backend with the fixtures' menu
// description and counts requests. With --pid N it reads a running
// application through the desktop's accessibility bus (run it inside a
// session; the messaging timeout is the default one):
//   trovix-bench-popup [--pid N] [--rounds N]

#include "app/QXDefaultsRegistration.h"
#include "app/QXMainController.h"
#include "menus/QXAccessibility.h"
#include "menus/QXProxyMenuItem.h"
#include "platform/accessibility/memory/MemoryAccessibility.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/menus/Menu.h"
#include "platform/workspace/RunningApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {

using platform::AccessibilityElement;
using platform::AccessibilityElementList;
using platform::Menu;

constexpr qint64 MemoryPid = 10;

QVariant read(const AccessibilityElement& element, const char* attribute)
{
    return QXCopyAttribute(element, QString::fromLatin1(attribute)).value_or(QVariant());
}

// The reads a proxy item makes of one foreign item, and with deep those of
// everything below it.
void readItemBare(const AccessibilityElement& item, bool canHide, bool deep)
{
    if (read(item, "AXTitle").toString().isEmpty()) {
        return;
    }
    if (read(item, "AXMenuItemCmdChar").toString().isEmpty()) {
        read(item, "AXMenuItemCmdVirtualKey");
    }
    read(item, "AXMenuItemCmdModifiers");
    AccessibilityElement submenu;
    if (read(item, "AXEnabled").toBool()) {
        for (const AccessibilityElement& child :
             platform::accessibilityElementListFromVariant(read(item, "AXChildren"))) {
            if (read(child, "AXRole").toString() == QStringLiteral("AXMenu")) {
                submenu = child;
                break;
            }
        }
    }
    read(item, "AXMenuItemMarkChar");
    if (canHide) {
        read(item, "AXPosition");
    }
    read(item, "AXMenuItemPrimaryUIElement");
    if (deep && !submenu.isNull()) {
        for (const AccessibilityElement& entry :
             platform::accessibilityElementListFromVariant(read(submenu, "AXChildren"))) {
            readItemBare(entry, true, true);
        }
    }
}

void readBare(const platform::RunningApplication& application, bool deep)
{
    for (const AccessibilityElement& item :
         QXMenuBarItemsForApplication(application).value_or(AccessibilityElementList())) {
        readItemBare(item, false, deep);
    }
}

void openAll(Menu& menu)
{
    for (const auto& item : menu.items()) {
        if (Menu* submenu = item->submenu()) {
            submenu->update();
            openAll(*submenu);
        }
    }
}

std::unique_ptr<Menu> popUp(const platform::RunningApplication& application,
                            std::shared_ptr<platform::MenuItem>& systemMenu)
{
    auto menu = std::make_unique<Menu>(QStringLiteral("Trovix Proxy"));
    QXMainController::mainController().populateMenu(
        *menu, QXMenuBarItemsForApplication(application), &systemMenu, std::nullopt);
    return menu;
}

struct Cost
{
    double milliseconds = 0;
    int requests = -1; // unknown on a desktop
};

// Runs both sides once to warm caches, then in turn, round after round, so
// that neither side profits from going second.
std::pair<Cost, Cost> measure(int rounds, const std::function<void()>& popUpWork,
                              const std::function<void()>& bareWork,
                              platform::MemoryAccessibility* memory)
{
    popUpWork();
    bareWork();
    Cost costs[2];
    const std::function<void()>* works[2] = {&popUpWork, &bareWork};
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            if (memory) {
                memory->resetCounters();
            }
            QElapsedTimer timer;
            timer.start();
            (*works[side])();
            costs[side].milliseconds += timer.nsecsElapsed() / 1e6 / rounds;
            if (memory) {
                costs[side].requests = memory->requestCount();
            }
        }
    }
    return {costs[0], costs[1]};
}

void report(const char* what, const Cost& popUpCost, const Cost& bareCost)
{
    std::printf("%-22s pop-up %9.3f ms %6d requests | bare %9.3f ms %6d requests | ratio %.2f\n",
                what, popUpCost.milliseconds, popUpCost.requests, bareCost.milliseconds,
                bareCost.requests,
                bareCost.milliseconds > 0 ? popUpCost.milliseconds / bareCost.milliseconds : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    qint64 pid = -1;
    int rounds = 0;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == u"--pid") {
            pid = arguments.at(i + 1).toLongLong();
        } else if (arguments.at(i) == u"--rounds") {
            rounds = arguments.at(i + 1).toInt();
        }
    }

    QXDefaultsRegistration::registerDefaults(platform::UserDefaults::standard());
    platform::MemoryAccessibility* memory = nullptr;
    if (pid < 0) {
        memory = new platform::MemoryAccessibility();
        platform::Accessibility::setCurrent(std::unique_ptr<platform::Accessibility>(memory));
        if (!memory->addApplicationFromFile(MemoryPid, QStringLiteral(TROVIX_FIXTURE_MENU))) {
            std::fprintf(stderr, "cannot read %s\n", TROVIX_FIXTURE_MENU);
            return 1;
        }
        pid = MemoryPid;
    }
    if (!QXAccessibilityPrepare()) {
        std::fprintf(stderr, "accessibility is off\n");
        return 1;
    }
    rounds = rounds > 0 ? rounds : (memory ? 200 : 10);
    QXProxyMenuItem::updatePreferences();
    const platform::RunningApplication target(
        pid, QStringLiteral("bench"), QUrl(),
        platform::RunningApplication::ActivationPolicy::Regular);

    std::printf("application %lld, %d rounds, %s\n", static_cast<long long>(pid), rounds,
                memory ? "memory backend" : "desktop accessibility bus");
    const auto topLevel = measure(
        rounds,
        [&target] {
            std::shared_ptr<platform::MenuItem> systemMenu;
            popUp(target, systemMenu);
        },
        [&target] { readBare(target, false); }, memory);
    report("top level", topLevel.first, topLevel.second);

    const auto whole = measure(
        rounds,
        [&target] {
            std::shared_ptr<platform::MenuItem> systemMenu;
            const std::unique_ptr<Menu> menu = popUp(target, systemMenu);
            openAll(*menu);
            if (systemMenu && systemMenu->submenu()) {
                systemMenu->submenu()->update();
            }
        },
        [&target] { readBare(target, true); }, memory);
    report("every submenu opened", whole.first, whole.second);
    return 0;
}
