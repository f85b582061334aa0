#include "platform/workspace/x11/AtspiApplicationNames.h"

#include <atspi/atspi.h>
#include <functional>

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
// until it answers false.
void forEachApplication(const std::function<bool(AtspiAccessible*, qint64)>& visit)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop) {
        return;
    }
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop, &error);
    clear(error);
    bool going = true;
    for (gint i = 0; i < count && going; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (!application) {
            continue;
        }
        const qint64 pid = atspi_accessible_get_process_id(application, &error);
        if (error) {
            clear(error);
        } else if (pid > 0) {
            going = visit(application, pid);
        }
        g_object_unref(application);
    }
    g_object_unref(desktop);
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

QSet<qint64> AtspiApplicationNames::processIdentifiers()
{
    QSet<qint64> pids;
    if (initialize()) {
        forEachApplication([&pids](AtspiAccessible*, qint64 pid) {
            pids.insert(pid);
            return true;
        });
    }
    return pids;
}

QString AtspiApplicationNames::name(qint64 pid)
{
    const auto known = m_names.constFind(pid);
    if (known != m_names.constEnd()) {
        return *known;
    }
    if (!initialize()) {
        return QString();
    }
    QString found;
    bool onBus = false;
    forEachApplication([&](AtspiAccessible* application, qint64 applicationPid) {
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
    });
    if (onBus) {
        m_names.insert(pid, found);
    }
    return found;
}

} // namespace platform
