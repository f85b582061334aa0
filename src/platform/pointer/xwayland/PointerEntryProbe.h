#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

struct xcb_connection_t;

namespace platform {

// Finds the pointer on an Xwayland display: maps, for a moment, a fully
// transparent override-redirect window over the whole root window, reads the
// position from the pointer's entry into it (the compositor gives the pointer
// to the window that appears under it, some only when asked) and unmaps it. The window never takes
// the keyboard. Uses a connection of its own, so that Qt's event handling
// sees none of it; the connection and the window are made on first use and
// kept.
class PointerEntryProbe
{
public:
    PointerEntryProbe();
    ~PointerEntryProbe();
    PointerEntryProbe(const PointerEntryProbe&) = delete;
    PointerEntryProbe& operator=(const PointerEntryProbe&) = delete;

    // The pointer in root-window pixels; none when the compositor did not
    // report it within timeoutMs (the calling thread waits at most that
    // long). nudge, when given, asks the compositor to look again where the
    // pointer is; it is called while the window is up and no answer came yet.
    std::optional<QPoint> pointerPosition(int timeoutMs, const std::function<void()>& nudge);

    // The root-window rectangle of the active window (_NET_ACTIVE_WINDOW);
    // none when no X11 window is active.
    std::optional<QRect> frontWindow();
    // The size of the X display's root window, which spans every output.
    std::optional<QSize> rootSize();

    // Why the last pointerPosition() found nothing.
    QString lastFailure() const { return m_failure; }

private:
    bool prepare();
    void disconnect();

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_window = 0;
    quint32 m_colormap = 0;
    quint32 m_activeWindowAtom = 0;
    QString m_failure;
};

} // namespace platform
