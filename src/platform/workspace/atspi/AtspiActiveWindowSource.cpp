#include "platform/workspace/atspi/AtspiActiveWindowSource.h"

#include "platform/workspace/atspi/AccessibilityBusCall.h"

#include <QCoreApplication>
#include <algorithm>
#include <atspi/atspi.h>

namespace platform::atspi {

namespace {

constexpr const char* WindowActivated = "window:activate";
constexpr const char* WindowDeactivated = "window:deactivate";
constexpr const char* ActiveStateChanged = "object:state-changed:active";
constexpr const char* ListenedEvents[] = {WindowActivated, WindowDeactivated, ActiveStateChanged};

// How long the bus or an application may take to answer a request made
// without waiting; only the judgement of one event waits for it.
constexpr int AnswerTimeoutMs = 1000;
// A scan looks at no more applications and windows per application than this.
constexpr gint ApplicationLimit = 256;
constexpr gint WindowLimit = 64;

bool isWindowRole(guint role)
{
    switch (role) {
    case ATSPI_ROLE_FRAME:
    case ATSPI_ROLE_DIALOG:
    case ATSPI_ROLE_WINDOW:
    case ATSPI_ROLE_ALERT:
        return true;
    default:
        return false;
    }
}

void clear(GError*& error)
{
    if (error) {
        g_error_free(error);
        error = nullptr;
    }
}

bool initialize()
{
    static const bool initialized = [] {
        const int result = atspi_init();
        return result == 0 || result == 1;
    }();
    return initialized;
}

ActiveWindowSource::Window windowOf(AtspiAccessible* object)
{
    const auto* address = reinterpret_cast<const AtspiObject*>(object);
    if (!address || !address->app || !address->app->bus_name || !address->path) {
        return {};
    }
    return {QString::fromUtf8(address->app->bus_name), QString::fromUtf8(address->path)};
}

void eventArrived(AtspiEvent* event, void* data)
{
    if (!event) {
        return;
    }
    auto* source = static_cast<AtspiActiveWindowSource*>(data);
    ActiveWindowSource::Event judged;
    judged.window = windowOf(event->source);
    const QByteArray type(event->type ? event->type : "");
    bool counts = !judged.window.application.isEmpty() && !judged.window.path.isEmpty();
    if (type == ActiveStateChanged) {
        judged.active = event->detail1 != 0;
        // libatspi knows the role when the event or its own cache brought it.
        if (event->source && (event->source->cached_properties & ATSPI_CACHE_ROLE)) {
            counts = counts && isWindowRole(guint(event->source->role));
        } else {
            judged.mayBeOtherObject = true;
        }
    } else {
        judged.active = type == WindowActivated;
    }
    g_boxed_free(ATSPI_TYPE_EVENT, event);
    if (counts) {
        source->deliver(judged);
    }
}

} // namespace

AtspiActiveWindowSource::~AtspiActiveWindowSource()
{
    deregister();
}

void AtspiActiveWindowSource::deregister()
{
    if (!m_registered) {
        return;
    }
    m_registered = false;
    // libatspi dispatches the events that arrive while it waits for the
    // bus to answer, to every listener registered.
    for (const char* type : ListenedEvents) {
        atspi_event_listener_deregister_from_callback(eventArrived, this, type, nullptr);
    }
}

bool AtspiActiveWindowSource::listen(std::function<void(const Event&)> handler)
{
    if (m_registered || !initialize()) {
        return m_registered;
    }
    m_handler = std::move(handler);
    // Applications send these events only while a listener is registered.
    for (const char* type : ListenedEvents) {
        GError* error = nullptr;
        const bool registered =
            atspi_event_listener_register_from_callback(eventArrived, this, nullptr, type, &error);
        clear(error);
        if (!registered) {
            for (const char* done : ListenedEvents) {
                if (done == type) {
                    break;
                }
                atspi_event_listener_deregister_from_callback(eventArrived, this, done, nullptr);
            }
            return false;
        }
    }
    m_registered = true;
    // The listeners go with the application object, while the other
    // listeners' receivers still live: a source kept until the program's
    // static objects are destroyed would otherwise deregister then, and the
    // events libatspi dispatches meanwhile reach receivers already gone.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QObject::connect(application, &QObject::destroyed, &m_context, [this] { deregister(); });
    }
    return true;
}

void AtspiActiveWindowSource::deliver(const Event& event)
{
    // Handed on from the event queue, outside libatspi's dispatch.
    QMetaObject::invokeMethod(
        &m_context,
        [this, event] {
            if (m_handler) {
                m_handler(event);
            }
        },
        Qt::QueuedConnection);
}

void AtspiActiveWindowSource::askProcess(const QString& application,
                                         std::function<void(std::optional<qint64>)> answer)
{
    const AccessibilityBusCall call{"org.freedesktop.DBus", "/org/freedesktop/DBus",
                                    "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                                    application.toUtf8()};
    call.send(&m_context, AnswerTimeoutMs,
              [answer = std::move(answer)](std::optional<quint32> pid) {
                  answer(pid ? std::optional<qint64>(*pid) : std::nullopt);
              });
}

void AtspiActiveWindowSource::askIsWindow(const Window& window,
                                          std::function<void(std::optional<bool>)> answer)
{
    const AccessibilityBusCall call{window.application.toUtf8(),
                                    window.path.toUtf8(),
                                    "org.a11y.atspi.Accessible",
                                    "GetRole",
                                    {}};
    call.send(&m_context, AnswerTimeoutMs,
              [answer = std::move(answer)](std::optional<quint32> role) {
                  answer(role ? std::optional<bool>(isWindowRole(*role)) : std::nullopt);
              });
}

std::optional<ActiveWindowSource::ActiveWindow> AtspiActiveWindowSource::scan()
{
    if (!initialize()) {
        return std::nullopt;
    }
    AtspiAccessible* desktop = atspi_get_desktop(0);
    if (!desktop) {
        return std::nullopt;
    }
    std::optional<ActiveWindow> found;
    GError* error = nullptr;
    const gint applications =
        std::min(atspi_accessible_get_child_count(desktop, &error), ApplicationLimit);
    clear(error);
    for (gint i = 0; i < applications && !found; ++i) {
        AtspiAccessible* application = atspi_accessible_get_child_at_index(desktop, i, &error);
        clear(error);
        if (!application) {
            continue;
        }
        // An application that does not answer is left after its first request.
        const gint windows =
            std::min(atspi_accessible_get_child_count(application, &error), WindowLimit);
        const bool answers = !error;
        clear(error);
        for (gint j = 0; answers && j < windows && !found; ++j) {
            AtspiAccessible* window = atspi_accessible_get_child_at_index(application, j, &error);
            clear(error);
            if (!window) {
                continue;
            }
            const AtspiRole role = atspi_accessible_get_role(window, &error);
            const bool isWindow = !error && isWindowRole(guint(role));
            clear(error);
            if (isWindow) {
                AtspiStateSet* states = atspi_accessible_get_state_set(window);
                if (states && atspi_state_set_contains(states, ATSPI_STATE_ACTIVE)) {
                    const guint pid = atspi_accessible_get_process_id(application, &error);
                    if (!error && pid > 0) {
                        found = ActiveWindow{windowOf(window), qint64(pid)};
                    }
                    clear(error);
                }
                if (states) {
                    g_object_unref(states);
                }
            }
            g_object_unref(window);
        }
        g_object_unref(application);
    }
    g_object_unref(desktop);
    return found;
}

} // namespace platform::atspi
