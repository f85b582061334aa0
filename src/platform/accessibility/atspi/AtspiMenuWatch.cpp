#include "platform/accessibility/atspi/AtspiMenuWatch.h"

#include "platform/accessibility/atspi/AtspiActionCall.h"

#include <QDBusConnection>
#include <atspi/atspi.h>

namespace platform::atspi {

namespace {

// The events after which a kept menu tree may be wrong.
constexpr const char* WatchedEvents[] = {"object:children-changed",
                                         "object:property-change:accessible-name"};

void eventArrived(AtspiEvent* event, void*)
{
    QString busName;
    if (event && event->source) {
        const auto* address = reinterpret_cast<const AtspiObject*>(event->source);
        if (address->app && address->app->bus_name) {
            busName = QString::fromUtf8(address->app->bus_name);
        }
    }
    if (event) {
        g_boxed_free(ATSPI_TYPE_EVENT, event);
    }
    if (!busName.isEmpty()) {
        QMetaObject::invokeMethod(
            &AtspiMenuWatch::instance(),
            [busName] { AtspiMenuWatch::instance().applicationChanged(busName); },
            Qt::QueuedConnection);
    }
}

} // namespace

AtspiMenuWatch& AtspiMenuWatch::instance()
{
    static AtspiMenuWatch watch;
    return watch;
}

bool AtspiMenuWatch::ensureListening()
{
    if (m_listening) {
        return true;
    }
    std::optional<QDBusConnection> bus = accessibilityBusConnection();
    if (!bus) {
        return false;
    }
    // Applications send events only while a listener is registered for them.
    for (const char* type : WatchedEvents) {
        GError* error = nullptr;
        if (!atspi_event_listener_register_from_callback(eventArrived, nullptr, nullptr, type,
                                                         &error)) {
            if (error) {
                g_error_free(error);
            }
            return false;
        }
    }
    bus->connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                 QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
                 SLOT(nameOwnerChanged(QString, QString, QString)));
    m_listening = true;
    return true;
}

std::shared_ptr<void> AtspiMenuWatch::watch(const QString& busName, std::function<void()> changed)
{
    if (busName.isEmpty() || !ensureListening()) {
        return nullptr;
    }
    auto watch = std::make_shared<Watch>(Watch{std::move(changed)});
    m_watches.insert(busName, watch);
    return watch;
}

void AtspiMenuWatch::nameOwnerChanged(const QString& name, const QString&, const QString& newOwner)
{
    // Applications are known by their unique names, which lose their owner
    // when the application leaves the bus.
    if (newOwner.isEmpty() && name.startsWith(u':')) {
        applicationChanged(name);
    }
}

void AtspiMenuWatch::applicationChanged(const QString& busName)
{
    const QList<std::weak_ptr<Watch>> watches = m_watches.values(busName);
    m_watches.remove(busName);
    for (const std::weak_ptr<Watch>& weak : watches) {
        if (const std::shared_ptr<Watch> watch = weak.lock()) {
            watch->changed();
        }
    }
}

} // namespace platform::atspi
