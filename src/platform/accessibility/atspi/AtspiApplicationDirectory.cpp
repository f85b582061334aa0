#include "platform/accessibility/atspi/AtspiApplicationDirectory.h"

#include "platform/accessibility/atspi/AtspiActionCall.h"

#include <QDBusConnection>

namespace platform::atspi {

namespace {

void clear(GError*& error)
{
    if (error) {
        g_error_free(error);
        error = nullptr;
    }
}

} // namespace

AtspiApplicationDirectory::Application AtspiApplicationDirectory::find(qint64 pid)
{
    if (pid <= 0) {
        return {};
    }
    ensureListening();
    const auto kept = m_applications.constFind(pid);
    if (kept != m_applications.cend()) {
        return *kept;
    }
    Application application = walkDesktop(pid);
    // Only kept while the bus can tell when the name goes away.
    if (application.object && !application.busName.isEmpty() && m_listening) {
        m_applications.insert(pid, application);
    }
    return application;
}

AtspiApplicationDirectory::Application AtspiApplicationDirectory::walkDesktop(qint64 pid)
{
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop) {
        return {};
    }
    Application found;
    GError* error = nullptr;
    const gint count = atspi_accessible_get_child_count(desktop, &error);
    clear(error);
    for (gint i = 0; i < count && !found.object; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (!application) {
            continue;
        }
        const guint applicationPid = atspi_accessible_get_process_id(application, &error);
        if (error) {
            clear(error);
        } else if (static_cast<qint64>(applicationPid) == pid) {
            const auto* address = reinterpret_cast<const AtspiObject*>(application);
            if (address->app && address->app->bus_name) {
                found.busName = QString::fromUtf8(address->app->bus_name);
            }
            found.object = GObjectRef<AtspiAccessible>::retain(application);
        }
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return found;
}

void AtspiApplicationDirectory::ensureListening()
{
    if (m_listening) {
        return;
    }
    std::optional<QDBusConnection> bus = accessibilityBusConnection();
    if (!bus) {
        return;
    }
    m_listening = bus->connect(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
        SLOT(nameOwnerChanged(QString, QString, QString)));
}

void AtspiApplicationDirectory::nameOwnerChanged(const QString& name, const QString&,
                                                 const QString& newOwner)
{
    // Applications are known by their unique names, which lose their owner
    // when the application leaves the bus.
    if (!newOwner.isEmpty() || !name.startsWith(u':')) {
        return;
    }
    m_applications.removeIf([&name](const QHash<qint64, Application>::iterator& entry) {
        return entry->busName == name;
    });
}

} // namespace platform::atspi
