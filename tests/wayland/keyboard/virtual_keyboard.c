// A keyboard of the tests' own on a wlroots compositor, whose headless
// backend has none: it presses keys as commands on standard input say, one a
// line, and answers each with "ok" (or "error ...") on standard output once
// the compositor has taken it.
//
//   key CODE 1|0        press or release an evdev key (29 = left Ctrl)
//   press CODE...       press the keys in order, then release them in reverse
//                       order (a combination: "press 29 56 50" is Ctrl+Alt+M)
//
// A seat gives clients keyboard focus only while it has a keyboard, and GTK
// marks a window active only while it has keyboard focus: the device lives as
// long as the process. Its layout is xkbcommon's default (evdev rules, us).
// The compositor takes the modifiers only from the device's own modifier
// requests, never from its keys: the client keeps the keyboard's state and
// sends the modifiers after every key.

#define _GNU_SOURCE // memfd_create

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

struct state
{
    struct wl_seat* seat;
    struct zwp_virtual_keyboard_manager_v1* manager;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version)
{
    struct state* state = data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !state->seat) {
        state->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        state->manager =
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
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

// Hands the compositor KEYMAP as text in shared memory.
static int send_keymap(struct zwp_virtual_keyboard_v1* keyboard, struct xkb_keymap* keymap)
{
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    int result = -1;
    if (text) {
        const size_t size = strlen(text) + 1;
        const int fd = memfd_create("trovix-keymap", MFD_CLOEXEC);
        if (fd >= 0 && write(fd, text, size) == (ssize_t)size) {
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           (uint32_t)size);
            result = 0;
        }
        if (fd >= 0) {
            close(fd);
        }
    }
    free(text);
    return result;
}

static struct xkb_state* keyboard_state;

// Presses or releases the evdev key CODE, and tells the modifiers it leaves.
static void key(struct zwp_virtual_keyboard_v1* keyboard, unsigned code, int pressed)
{
    zwp_virtual_keyboard_v1_key(keyboard, now_ms(), code,
                                pressed ? WL_KEYBOARD_KEY_STATE_PRESSED
                                        : WL_KEYBOARD_KEY_STATE_RELEASED);
    // xkb key codes are evdev codes + 8.
    xkb_state_update_key(keyboard_state, code + 8, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
    zwp_virtual_keyboard_v1_modifiers(
        keyboard, xkb_state_serialize_mods(keyboard_state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(keyboard_state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(keyboard_state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(keyboard_state, XKB_STATE_LAYOUT_EFFECTIVE));
}

// Presses the codes of "press C1 C2 ..." in order and releases them in
// reverse; false when the line holds no code or too many.
static int press(struct zwp_virtual_keyboard_v1* keyboard, const char* codes)
{
    unsigned pressed[8];
    int count = 0, consumed = 0;
    while (count < 8 && sscanf(codes, "%u%n", &pressed[count], &consumed) == 1) {
        codes += consumed;
        ++count;
    }
    if (count == 0 || sscanf(codes, " %*u") != EOF) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        key(keyboard, pressed[i], 1);
    }
    for (int i = count - 1; i >= 0; --i) {
        key(keyboard, pressed[i], 0);
    }
    return 1;
}

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "virtual-keyboard: cannot connect to the Wayland display\n");
        return 1;
    }
    struct state state = {NULL, NULL};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &state);
    wl_display_roundtrip(display);
    if (!state.manager || !state.seat) {
        fprintf(stderr,
                "virtual-keyboard: the compositor offers no zwp_virtual_keyboard_manager_v1\n");
        return 1;
    }
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap* keymap =
        context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    keyboard_state = keymap ? xkb_state_new(keymap) : NULL;
    struct zwp_virtual_keyboard_v1* keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(state.manager, state.seat);
    if (!keyboard_state || send_keymap(keyboard, keymap) < 0) {
        fprintf(stderr, "virtual-keyboard: cannot compile the default keymap\n");
        return 1;
    }
    if (wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "virtual-keyboard: the compositor refused the keyboard\n");
        return 1;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    printf("ready\n");

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        unsigned code, pressed;
        if (sscanf(line, "key %u %u", &code, &pressed) == 2) {
            key(keyboard, code, pressed != 0);
        } else if (strncmp(line, "press ", 6) != 0 || !press(keyboard, line + 6)) {
            printf("error: unknown command: %s", line);
            continue;
        }
        if (wl_display_roundtrip(display) < 0) {
            printf("error: the compositor closed the connection\n");
            return 1;
        }
        printf("ok\n");
    }
    zwp_virtual_keyboard_v1_destroy(keyboard);
    xkb_state_unref(keyboard_state);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    zwp_virtual_keyboard_manager_v1_destroy(state.manager);
    wl_seat_destroy(state.seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
