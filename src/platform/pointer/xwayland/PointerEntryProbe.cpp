#include "platform/pointer/xwayland/PointerEntryProbe.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace platform {
namespace {

// How often a compositor that does not give the pointer to a window appearing
// under it is asked again to look where the pointer is.
constexpr qint64 NudgeIntervalMs = 20;

template <class Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
ReplyPointer<Reply> owned(Reply* reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

// A 32-bit TrueColor visual: its windows are see-through where their pixels
// are, and a background pixel of 0 leaves all of the window transparent.
std::optional<xcb_visualid_t> transparentVisual(const xcb_screen_t* screen)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != 32) {
            continue;
        }
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) {
                return visuals.data->visual_id;
            }
        }
    }
    return std::nullopt;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

PointerEntryProbe::PointerEntryProbe() = default;

PointerEntryProbe::~PointerEntryProbe()
{
    disconnect();
}

void PointerEntryProbe::disconnect()
{
    if (m_connection) {
        xcb_disconnect(m_connection);
    }
    m_connection = nullptr;
    m_window = 0;
    m_colormap = 0;
}

bool PointerEntryProbe::prepare()
{
    if (m_connection && !xcb_connection_has_error(m_connection)) {
        return true;
    }
    disconnect();
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        m_failure = QStringLiteral("cannot connect to the X display");
        disconnect();
        return false;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_screen_t* screen = screens.data;
    const std::optional<xcb_visualid_t> visual = screen ? transparentVisual(screen) : std::nullopt;
    if (!visual) {
        m_failure = QStringLiteral("the X display offers no 32-bit visual");
        disconnect();
        return false;
    }
    m_root = screen->root;
    m_colormap = xcb_generate_id(m_connection);
    xcb_create_colormap(m_connection, XCB_COLORMAP_ALLOC_NONE, m_colormap, m_root, *visual);
    m_window = xcb_generate_id(m_connection);
    // Value order follows the mask bits: background, border, override
    // redirect, event mask, colormap.
    const uint32_t values[] = {0, 0, 1, XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_POINTER_MOTION,
                               m_colormap};
    xcb_create_window(m_connection, 32, m_window, m_root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, *visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                          XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                      values);
    // A tooltip's type: compositors give override-redirect windows of other
    // types the keyboard focus, which would take it from the front window.
    const xcb_atom_t type = atom(m_connection, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t tooltip = atom(m_connection, "_NET_WM_WINDOW_TYPE_TOOLTIP");
    if (type != XCB_ATOM_NONE && tooltip != XCB_ATOM_NONE) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, type, XCB_ATOM_ATOM, 32,
                            1, &tooltip);
    }
    static const char title[] = "Trovix pointer probe";
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, sizeof title - 1, title);
    m_activeWindowAtom = atom(m_connection, "_NET_ACTIVE_WINDOW");
    return !xcb_connection_has_error(m_connection);
}

std::optional<QPoint> PointerEntryProbe::pointerPosition(int timeoutMs,
                                                         const std::function<void()>& nudge)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_failure.clear();
    if (!prepare()) {
        return std::nullopt;
    }
    // Over the whole root window, which spans every output.
    const auto root = owned(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr));
    if (!root) {
        m_failure = QStringLiteral("the X display does not answer");
        disconnect();
        return std::nullopt;
    }
    const uint32_t geometry[] = {0, 0, root->width, root->height, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(m_connection, m_window,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                         geometry);
    // Events of an earlier probe that came after its window was gone.
    while (xcb_generic_event_t* stale = xcb_poll_for_event(m_connection)) {
        std::free(stale);
    }
    xcb_map_window(m_connection, m_window);
    xcb_flush(m_connection);

    // The X server answers the map at once with an entry at the position it
    // remembers, which is stale while the pointer is over a Wayland window;
    // the compositor's own word comes after it, as a motion or a second
    // entry, once it gives the pointer to the new window.
    std::optional<QPoint> position;
    bool remembered = false;
    QDeadlineTimer nextNudge(0);
    while (!position && !xcb_connection_has_error(m_connection)) {
        xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
        if (!event) {
            if (deadline.hasExpired()) {
                break;
            }
            if (nudge && nextNudge.hasExpired()) {
                nudge();
                nextNudge.setRemainingTime(NudgeIntervalMs);
            }
            const qint64 wait = nudge
                                    ? std::min(deadline.remainingTime(), nextNudge.remainingTime())
                                    : deadline.remainingTime();
            pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            poll(&descriptor, 1, static_cast<int>(std::max<qint64>(wait, 1)));
            continue;
        }
        const auto owner = owned(event);
        const uint8_t type = event->response_type & 0x7f;
        std::optional<QPoint> reported;
        if (type == XCB_ENTER_NOTIFY) {
            const auto* entry = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
            if (entry->event == m_window) {
                reported = QPoint(entry->root_x, entry->root_y);
            }
        } else if (type == XCB_MOTION_NOTIFY) {
            const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
            if (motion->event == m_window) {
                reported = QPoint(motion->root_x, motion->root_y);
            }
        }
        if (!reported) {
            continue;
        }
        if (remembered) {
            position = reported;
        } else {
            remembered = true;
        }
    }
    xcb_unmap_window(m_connection, m_window);
    xcb_flush(m_connection);
    if (xcb_connection_has_error(m_connection)) {
        m_failure = QStringLiteral("the connection to the X display broke");
        disconnect();
        return std::nullopt;
    }
    if (!position) {
        m_failure = remembered ? QStringLiteral("the compositor did not give the pointer to the "
                                                "probe window")
                               : QStringLiteral("the probe window saw no pointer");
    }
    return position;
}

std::optional<QSize> PointerEntryProbe::rootSize()
{
    if (!prepare()) {
        return std::nullopt;
    }
    const auto root = owned(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr));
    if (!root) {
        return std::nullopt;
    }
    return QSize(root->width, root->height);
}

std::optional<QRect> PointerEntryProbe::frontWindow()
{
    if (!prepare() || m_activeWindowAtom == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto property = owned(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!property || property->type != XCB_ATOM_WINDOW || property->format != 32 ||
        xcb_get_property_value_length(property.get()) != 4) {
        return std::nullopt;
    }
    const xcb_window_t active =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
    if (active == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    const auto geometry = owned(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, active), nullptr));
    const auto origin = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, active, m_root, 0, 0), nullptr));
    if (!geometry || !origin) {
        return std::nullopt;
    }
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

} // namespace platform
