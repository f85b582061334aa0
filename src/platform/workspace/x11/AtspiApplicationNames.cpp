#include "platform/workspace/x11/AtspiApplicationNames.h"

#include <atspi/atspi.h>

namespace platform {

namespace {

void clear(GError*& error)
{
    if (error) {
        g_error_free(error);
        error = nullptr;
    }
}

} // namespace

QHash<qint64, QString> AtspiApplicationNames::applications()
{
    QHash<qint64, QString> current;
    if (!m_initialized) {
        const int result = atspi_init();
        m_initialized = result == 0 || result == 1;
        if (!m_initialized) {
            return current;
        }
    }
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop) {
        return current;
    }
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop, &error);
    clear(error);
    for (gint i = 0; i < count; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (!application) {
            continue;
        }
        const qint64 pid = atspi_accessible_get_process_id(application, &error);
        if (error) {
            clear(error);
        } else if (pid > 0) {
            if (!m_names.contains(pid)) {
                gchar* name = atspi_accessible_get_name(application, &error);
                clear(error);
                m_names.insert(pid, QString::fromUtf8(name).trimmed());
                g_free(name);
            }
            current.insert(pid, m_names.value(pid));
        }
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return current;
}

} // namespace platform
