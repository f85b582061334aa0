// Reads one application's menu bar, the top level and then the whole tree,
// once through the program's functions (QXMenuBarItemsForApplication,
// QXCopyAttribute: the attributes a pop-up reads for every item) and once
// through bare libatspi calls asking for the same facts, and prints the time of
// each and their ratio. Run it inside a desktop session with the application
// on the accessibility bus:
//   trovix-bench-menu-reading --pid N [--rounds N]

#include "menus/QXAccessibility.h"
#include "platform/workspace/RunningApplication.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <atspi/atspi.h>
#include <cstdio>

namespace {

using platform::AccessibilityElement;
using platform::AccessibilityElementList;

const char* const ItemAttributes[] = {"AXTitle",
                                      "AXEnabled",
                                      "AXPosition",
                                      "AXMenuItemMarkChar",
                                      "AXMenuItemCmdChar",
                                      "AXMenuItemCmdVirtualKey",
                                      "AXMenuItemCmdModifiers",
                                      "AXMenuItemPrimaryUIElement"};

int readItem(const AccessibilityElement& item, bool deep)
{
    int items = 1;
    for (const char* attribute : ItemAttributes) {
        QXCopyAttribute(item, QString::fromLatin1(attribute));
    }
    const AccessibilityElementList children = platform::accessibilityElementListFromVariant(
        QXCopyAttribute(item, QStringLiteral("AXChildren")).value_or(QVariant()));
    for (const AccessibilityElement& child : children) {
        if (QXCopyAttribute(child, QStringLiteral("AXRole")).value_or(QVariant()).toString() !=
            QStringLiteral("AXMenu")) {
            continue;
        }
        if (deep) {
            const AccessibilityElementList entries = platform::accessibilityElementListFromVariant(
                QXCopyAttribute(child, QStringLiteral("AXChildren")).value_or(QVariant()));
            for (const AccessibilityElement& entry : entries) {
                items += readItem(entry, true);
            }
        }
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
        count += readItem(item, deep);
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
// binding, and the children of submenus.
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
    if (!deep || role == ATSPI_ROLE_SEPARATOR) {
        return items;
    }
    AtspiAccessible* menu =
        role == ATSPI_ROLE_MENU ? static_cast<AtspiAccessible*>(g_object_ref(item)) : nullptr;
    if (!menu && atspi_accessible_get_child_count(item, &error) > 0) {
        menu = atspi_accessible_get_child_at_index(item, 0, &error);
    }
    clear(error);
    if (menu) {
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

template <typename Read>
double milliseconds(int rounds, int& items, Read read)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        items = read();
    }
    return double(timer.nsecsElapsed()) / 1e6 / rounds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype pidIndex = arguments.indexOf(QStringLiteral("--pid"));
    const qsizetype roundsIndex = arguments.indexOf(QStringLiteral("--rounds"));
    if (pidIndex < 0 || pidIndex + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: trovix-bench-menu-reading --pid N [--rounds N]\n");
        return 2;
    }
    const qint64 pid = arguments.at(pidIndex + 1).toLongLong();
    const int rounds = roundsIndex > 0 ? std::max(1, arguments.value(roundsIndex + 1).toInt()) : 5;
    atspi_init();
    QXAccessibilitySetGlobalMessagingTimeout(1.0f);

    for (const bool deep : {false, true}) {
        int programItems = 0;
        int bareItems = 0;
        const double bare =
            milliseconds(rounds, bareItems, [&] { return readThroughLibatspi(pid, deep); });
        const double program =
            milliseconds(rounds, programItems, [&] { return readThroughProgram(pid, deep); });
        std::printf(
            "%-10s program %8.2f ms (%d items)   libatspi %8.2f ms (%d items)   ratio %.2f\n",
            deep ? "full tree" : "top level", program, programItems, bare, bareItems,
            bare > 0 ? program / bare : 0.0);
    }
    return 0;
}
