// Hot key -> pop-up mapped on an X11 desktop: types the running Trovix's
// hot key with XTest and waits for Trovix's pop-up (an override-redirect
// window) to be mapped, then closes it with Escape. Before each round the
// application in front is activated again (when --activate names its
// window) and left alone for --quiet-ms; with --signal-pid the process gets
// SIGHUP first (a fixture then changes its menus, so that nothing read of
// it before still holds). Prints the median and every round, in ms.
// Only override-redirect windows of --trovix-pid count, when it is given.
// With --then KEYS (comma-separated key names, e.g. Down,Right,Down,Right)
// the keys are typed into the open pop-up a quarter of a second apart and
// the time from the last one until the next window is mapped (a submenu's
// first screenful) is measured instead.
//   trovix-bench-hotkey --key ctrl+alt+m [--rounds 12] [--quiet-ms 200]
//                       [--activate WINDOW] [--signal-pid PID] [--trovix-pid PID]
//                       [--then KEYS]

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/select.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<KeyCode> keysOf(Display* display, const std::string& combination)
{
    std::vector<KeyCode> codes;
    size_t start = 0;
    while (start <= combination.size()) {
        const size_t end = combination.find('+', start);
        std::string name = combination.substr(start, end == std::string::npos ? end : end - start);
        if (name == "ctrl") {
            name = "Control_L";
        } else if (name == "alt") {
            name = "Alt_L";
        } else if (name == "shift") {
            name = "Shift_L";
        } else if (name == "super") {
            name = "Super_L";
        }
        const KeySym symbol = XStringToKeysym(name.c_str());
        if (symbol != NoSymbol) {
            codes.push_back(XKeysymToKeycode(display, symbol));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return codes;
}

void type(Display* display, const std::vector<KeyCode>& codes)
{
    for (const KeyCode code : codes) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    }
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    }
    XFlush(display);
}

// Waits up to ms for an event that matches; true when one came.
template <typename Match>
bool waitFor(Display* display, int ms, Match match)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (true) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (match(event)) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        timeval timeout{static_cast<time_t>(left.count() / 1000000),
                        static_cast<suseconds_t>(left.count() % 1000000)};
        select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &timeout);
    }
}

// The process that owns a window, as it says itself; 0 when unknown.
long windowPid(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 1) {
        pid = long(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) {
        XFree(data);
    }
    return pid;
}

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

void activate(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // from a pager: the window manager obeys
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace

int main(int argc, char** argv)
{
    std::string key = "ctrl+alt+m";
    int rounds = 12;
    int quietMs = 200;
    Window window = 0;
    long signalPid = 0;
    long trovixPid = 0;
    std::vector<std::string> then;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--key")) {
            key = argv[i + 1];
        } else if (!std::strcmp(argv[i], "--rounds")) {
            rounds = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--quiet-ms")) {
            quietMs = std::atoi(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--activate")) {
            window = Window(std::strtoul(argv[i + 1], nullptr, 0));
        } else if (!std::strcmp(argv[i], "--trovix-pid")) {
            trovixPid = std::atol(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--signal-pid")) {
            signalPid = std::atol(argv[i + 1]);
        } else if (!std::strcmp(argv[i], "--then")) {
            std::string keys = argv[i + 1];
            for (size_t start = 0; start <= keys.size();) {
                const size_t end = std::min(keys.find(',', start), keys.size());
                then.push_back(keys.substr(start, end - start));
                start = end + 1;
            }
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const std::vector<KeyCode> hotKey = keysOf(display, key);
    const std::vector<KeyCode> escape = keysOf(display, "Escape");
    // A window may be gone by the time its owner is asked.
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XFlush(display);

    std::vector<double> times;
    for (int round = 0; round <= rounds; ++round) {
        // Trovix swallows hot keys for a moment after a menu closed.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        if (signalPid > 0) {
            kill(pid_t(signalPid), SIGHUP);
        }
        if (window) {
            activate(display, window);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(quietMs));
        XSync(display, False);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        auto started = Clock::now();
        type(display, hotKey);
        Window popUp = 0;
        Window mapped = 0;
        const auto trovixMapped = [&mapped, display, trovixPid](const XEvent& event) {
            if (event.type == MapNotify && event.xmap.override_redirect &&
                (!trovixPid || windowPid(display, event.xmap.window) == trovixPid)) {
                mapped = event.xmap.window;
                return true;
            }
            return false;
        };
        if (!waitFor(display, 10000, trovixMapped)) {
            std::fprintf(stderr, "no pop-up within 10 s (round %d)\n", round);
            return 1;
        }
        popUp = mapped;
        for (size_t i = 0; i < then.size(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            XSync(display, False);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
            }
            started = Clock::now();
            type(display, keysOf(display, then[i]));
        }
        if (!then.empty() && !waitFor(display, 30000, trovixMapped)) {
            std::fprintf(stderr, "no submenu within 30 s (round %d)\n", round);
            return 1;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        // The first round warms up caches on both sides.
        if (round > 0) {
            times.push_back(ms);
        }
        // The menu takes the keyboard just after it is mapped: Escape is
        // typed again until it closes.
        bool closed = false;
        for (int attempt = 0; attempt < 20 && !closed; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            type(display, escape);
            closed = waitFor(display, 500, [popUp](const XEvent& event) {
                return (event.type == UnmapNotify && event.xunmap.window == popUp) ||
                       (event.type == DestroyNotify && event.xdestroywindow.window == popUp);
            });
        }
        if (!closed) {
            std::fprintf(stderr, "the pop-up (window 0x%lx) did not close\n", popUp);
            return 1;
        }
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("median_ms %.1f\nrounds_ms", sorted.empty() ? 0.0 : sorted[sorted.size() / 2]);
    for (const double ms : times) {
        std::printf(" %.1f", ms);
    }
    std::printf("\n");
    XCloseDisplay(display);
    return 0;
}
