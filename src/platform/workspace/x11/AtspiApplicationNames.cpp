#include "platform/workspace/x11/AtspiApplicationNames.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <atspi/atspi.h>
#include <functional>
#include <optional>

namespace platform {

namespace {

void clear(GError*& error)
{
    if (error) {
        g_error_free(error);
        error = nullptr;
    }
}

// Calls visit with every application on the bus and its process identifier
// until it answers false. An application's process is asked of the bus (a
// blocking call) only the first time its unique name is seen: the bus never
// gives that name to another connection. Names no longer on the bus are
// forgotten once every application has been visited.
void forEachApplication(const std::function<bool(AtspiAccessible*, qint64)>& visit,
                        QHash<QString, qint64>& processes)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop) {
        return;
    }
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop, &error);
    clear(error);
    bool going = true;
    QSet<QString> seen;
    for (gint i = 0; i < count && going; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (!application) {
            continue;
        }
        const auto* object = reinterpret_cast<const AtspiObject*>(application);
        const QString busName = object->app && object->app->bus_name
                                    ? QString::fromUtf8(object->app->bus_name)
                                    : QString();
        seen.insert(busName);
        std::optional<qint64> pid;
        if (const auto known = processes.constFind(busName);
            known != processes.cend() && !busName.isEmpty()) {
            pid = *known;
        } else {
            pid = atspi_accessible_get_process_id(application, &error);
            if (error) {
                clear(error);
                pid.reset();
            } else if (!busName.isEmpty()) {
                processes.insert(busName, *pid);
            }
        }
        if (pid && *pid > 0) {
            going = visit(application, *pid);
        }
        g_object_unref(application);
    }
    g_object_unref(desktop);
    if (going) {
        processes.removeIf([&seen](const QHash<QString, qint64>::iterator& entry) {
            return !seen.contains(entry.key());
        });
    }
}

// An application that did not answer is asked again no sooner than this.
constexpr int SilentMs = 30000;
// Silent applications remembered at most.
constexpr qsizetype SilentLimit = 256;
// Windows looked at per application at most.
constexpr gint WindowLimit = 64;

bool isWindowRole(AtspiRole role)
{
    return role == ATSPI_ROLE_FRAME || role == ATSPI_ROLE_WINDOW || role == ATSPI_ROLE_DIALOG;
}

// Whether one of the application's top-level children is a visible window;
// nothing when the application does not answer. Toolkits keep hidden windows
// among the children (Qt every window it made, GTK those not destroyed), so
// only the visible ones count.
std::optional<bool> showsWindow(AtspiAccessible* application)
{
    GError* error = nullptr;
    const gint count = std::min(atspi_accessible_get_child_count(application, &error), WindowLimit);
    if (error) {
        clear(error);
        return std::nullopt;
    }
    bool shows = false;
    for (gint i = 0; i < count && !shows; ++i) {
        AtspiAccessible* window = atspi_accessible_get_child_at_index(application, i, &error);
        clear(error);
        if (!window) {
            continue;
        }
        const AtspiRole role = atspi_accessible_get_role(window, &error);
        const bool isWindow = !error && isWindowRole(role);
        clear(error);
        if (isWindow) {
            AtspiStateSet* states = atspi_accessible_get_state_set(window);
            shows = states && atspi_state_set_contains(states, ATSPI_STATE_VISIBLE);
            if (states) {
                g_object_unref(states);
            }
        }
        g_object_unref(window);
    }
    return shows;
}

} // namespace

bool AtspiApplicationNames::initialize()
{
    if (!m_initialized) {
        const int result = atspi_init();
        m_initialized = result == 0 || result == 1;
    }
    return m_initialized;
}

AtspiApplicationNames::Listing
AtspiApplicationNames::list(const std::function<bool(qint64)>& askWindows)
{
    Listing listing;
    if (!initialize()) {
        return listing;
    }
    forEachApplication(
        [&](AtspiAccessible* application, qint64 pid) {
            listing.processIdentifiers.insert(pid);
            // The program's own accessibility answers on the thread that would
            // wait here; its windows are managed ones in any case.
            if (pid == QCoreApplication::applicationPid() || !askWindows(pid)) {
                return true;
            }
            const auto silent = m_silent.constFind(pid);
            if (silent != m_silent.constEnd()) {
                if (!silent->hasExpired()) {
                    return true;
                }
                m_silent.erase(silent);
            }
            const std::optional<bool> shows = showsWindow(application);
            if (!shows) {
                if (m_silent.size() >= SilentLimit) {
                    m_silent.clear();
                }
                m_silent.insert(pid, QDeadlineTimer(SilentMs));
            } else if (*shows) {
                listing.showingWindow.insert(pid);
            }
            return true;
        },
        m_processes);
    return listing;
}

QString AtspiApplicationNames::name(qint64 pid)
{
    const auto known = m_names.constFind(pid);
    if (known != m_names.constEnd()) {
        return *known;
    }
    // The program's own accessibility answers on the thread that would wait
    // here: asked, it would answer only after the timeout.
    if (pid == QCoreApplication::applicationPid() || !initialize()) {
        return QString();
    }
    QString found;
    bool onBus = false;
    forEachApplication(
        [&](AtspiAccessible* application, qint64 applicationPid) {
            if (applicationPid != pid) {
                return true;
            }
            onBus = true;
            GError* error = nullptr;
            gchar* text = atspi_accessible_get_name(application, &error);
            clear(error);
            found = QString::fromUtf8(text).trimmed();
            g_free(text);
            return false;
        },
        m_processes);
    if (onBus) {
        m_names.insert(pid, found);
    }
    return found;
}

} // namespace platform
