// A pointer device of the tests' own on a wlroots compositor, whose headless
// backend has none: it moves and clicks as commands on standard input say,
// one a line, and answers each with "ok" (or "error ...") on standard output
// once the compositor has taken it.
//
//   move X Y WIDTH HEIGHT   absolute motion to X,Y of a layout WIDTH x HEIGHT
//   by DX DY                relative motion
//   button CODE 1|0         press or release an evdev button (272 = left)
//   click CODE              press and release
//
// The device lives as long as the process: a compositor forgets where a
// pointer was, and stops sending pointer events to clients, once the seat has
// no pointer left.

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

struct state
{
    struct wl_seat* seat;
    struct zwlr_virtual_pointer_manager_v1* manager;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version)
{
    struct state* state = data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !state->seat) {
        state->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        state->manager =
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual-pointer: cannot connect to the Wayland display\n");
        return 1;
    }
    struct state state = {NULL, NULL};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &state);
    wl_display_roundtrip(display);
    if (!state.manager) {
        fprintf(stderr,
                "virtual-pointer: the compositor offers no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(state.manager, state.seat);
    if (wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "virtual-pointer: the compositor refused the pointer\n");
        return 1;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    printf("ready\n");

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x, y, width, height, code, pressed;
        double dx, dy;
        if (sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4 && width > 0 &&
            height > 0) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, width, height);
        } else if (sscanf(line, "by %lf %lf", &dx, &dy) == 2) {
            zwlr_virtual_pointer_v1_motion(pointer, now_ms(), wl_fixed_from_double(dx),
                                           wl_fixed_from_double(dy));
        } else if (sscanf(line, "button %u %u", &code, &pressed) == 2) {
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), code,
                                           pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                                   : WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (sscanf(line, "click %u", &code) == 1) {
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), code,
                                           WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), code,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            printf("error: unknown command: %s", line);
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) {
            printf("error: the compositor closed the connection\n");
            return 1;
        }
        printf("ok\n");
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(state.manager);
    if (state.seat) {
        wl_seat_destroy(state.seat);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
