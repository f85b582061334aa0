#include "platform/accessibility/atspi/AtspiMenuWatch.h"

#include "platform/accessibility/atspi/AtspiActionCall.h"
#include "platform/accessibility/atspi/AtspiRequests.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <atspi/atspi.h>

namespace platform::atspi {

namespace {

// The events after which a kept menu tree may be wrong: entries added or
// removed, renamed, enabled or disabled, checked or unchecked, shown or
// hidden. Other state changes (focus, selection, showing while a menu is
// open) are not asked for.
constexpr const char* WatchedEvents[] = {
    "object:children-changed",      "object:property-change:accessible-name",
    "object:state-changed:enabled", "object:state-changed:sensitive",
    "object:state-changed:checked", "object:state-changed:indeterminate",
    "object:state-changed:visible"};

bool isMenuRole(uint role)
{
    switch (role) {
    case ATSPI_ROLE_MENU_BAR:
    case ATSPI_ROLE_MENU:
    case ATSPI_ROLE_MENU_ITEM:
    case ATSPI_ROLE_CHECK_MENU_ITEM:
    case ATSPI_ROLE_RADIO_MENU_ITEM:
    case ATSPI_ROLE_POPUP_MENU:
    case ATSPI_ROLE_SEPARATOR:
    case ATSPI_ROLE_TEAROFF_MENU_ITEM:
        return true;
    default:
        return false;
    }
}

// Keeps at most this many roles per application.
constexpr qsizetype RoleCacheLimit = 4096;

void eventArrived(AtspiEvent* event, void*)
{
    QString busName;
    QString path;
    std::optional<uint> role;
    if (event && event->source) {
        const auto* address = reinterpret_cast<const AtspiObject*>(event->source);
        if (address->app && address->app->bus_name) {
            busName = QString::fromUtf8(address->app->bus_name);
        }
        path = QString::fromUtf8(address->path);
        // libatspi knows the role when the event or its own cache brought it.
        if (event->source->cached_properties & ATSPI_CACHE_ROLE) {
            role = uint(event->source->role);
        }
    }
    if (event) {
        g_boxed_free(ATSPI_TYPE_EVENT, event);
    }
    if (!busName.isEmpty()) {
        QMetaObject::invokeMethod(
            &AtspiMenuWatch::instance(),
            [busName, path, role] {
                AtspiMenuWatch::instance().objectChanged(busName, path, role);
            },
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
        m_roles.remove(name);
        applicationChanged(name);
    }
}

void AtspiMenuWatch::objectChanged(const QString& busName, const QString& path,
                                   std::optional<uint> role)
{
    if (!m_watches.contains(busName)) {
        return; // nobody keeps a tree of that application
    }
    QHash<QString, uint>& roles = m_roles[busName];
    if (role) {
        if (roles.size() < RoleCacheLimit) {
            roles.insert(path, *role);
        }
        judge(busName, role);
        return;
    }
    const auto known = roles.constFind(path);
    if (known != roles.cend()) {
        judge(busName, *known);
        return;
    }
    const QString key = busName + u' ' + path;
    const std::optional<QDBusConnection> bus = accessibilityBusConnection();
    if (m_asking.contains(key) || !bus) {
        if (!bus) {
            judge(busName, std::nullopt);
        }
        return;
    }
    m_asking.insert(key);
    const QDBusMessage call = QDBusMessage::createMethodCall(
        busName, path, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetRole"));
    auto* watcher = new QDBusPendingCallWatcher(bus->asyncCall(call, messagingTimeoutMs()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, busName, path, key](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                m_asking.remove(key);
                const QDBusMessage reply = pending->reply();
                std::optional<uint> answer;
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                    answer = reply.arguments().constFirst().toUInt();
                    QHash<QString, uint>& cached = m_roles[busName];
                    if (cached.size() < RoleCacheLimit) {
                        cached.insert(path, *answer);
                    }
                }
                judge(busName, answer);
            });
}

void AtspiMenuWatch::judge(const QString& busName, std::optional<uint> role)
{
    ++m_judgedEvents;
    // An object that cannot tell its role may have been a menu item that
    // is gone: the tree is dropped rather than kept wrong.
    if (!role || isMenuRole(*role)) {
        applicationChanged(busName);
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
