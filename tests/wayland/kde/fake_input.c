// A pointer and keyboard of the tests' own on KWin, whose virtual backend has
// none: KDE's fake-input protocol moves, clicks and types as commands on
// standard input say, one a line, and answers each with "ok" (or "error ...")
// on standard output once the compositor has taken it. The commands are those
// of the other test devices:
//
//   move X Y WIDTH HEIGHT   to X,Y of the layout (WIDTH and HEIGHT unused)
//   by DX DY                relative motion
//   button CODE 1|0         press or release an evdev button (272 = left)
//   click CODE              press and release
//   key CODE 1|0            press or release an evdev key
//   press CODE...           press the keys in order, release them in reverse

#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

// Keys held at once by one "press" at most.
enum { MaxKeys = 8 };

struct state
{
    struct org_kde_kwin_fake_input* input;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version)
{
    struct state* state = data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        state->input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
    }
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

// The evdev codes of a "press" line, in order; their count, or -1.
static int press_codes(const char* line, unsigned codes[MaxKeys])
{
    if (strncmp(line, "press ", 6) != 0) {
        return -1;
    }
    int count = 0;
    const char* rest = line + 6;
    for (;;) {
        char* end;
        const unsigned long code = strtoul(rest, &end, 10);
        if (end == rest) {
            break;
        }
        if (count == MaxKeys) {
            return -1;
        }
        codes[count++] = (unsigned)code;
        rest = end;
    }
    return count > 0 ? count : -1;
}

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "fake-input: cannot connect to the Wayland display\n");
        return 1;
    }
    struct state state = {NULL};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &state);
    wl_display_roundtrip(display);
    if (!state.input) {
        fprintf(stderr, "fake-input: the compositor offers no org_kde_kwin_fake_input (version 4)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(state.input, "Trovix tests", "drive the desktop tests");
    if (wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "fake-input: the compositor refused the device\n");
        return 1;
    }
    setvbuf(stdout, NULL, _IOLBF, 0);
    printf("ready\n");

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        unsigned x, y, width, height, code, pressed, codes[MaxKeys];
        double dx, dy;
        int count;
        if (sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) == 4) {
            org_kde_kwin_fake_input_pointer_motion_absolute(state.input, wl_fixed_from_int((int)x),
                                                            wl_fixed_from_int((int)y));
        } else if (sscanf(line, "by %lf %lf", &dx, &dy) == 2) {
            org_kde_kwin_fake_input_pointer_motion(state.input, wl_fixed_from_double(dx),
                                                   wl_fixed_from_double(dy));
        } else if (sscanf(line, "button %u %u", &code, &pressed) == 2) {
            org_kde_kwin_fake_input_button(state.input, code,
                                           pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                                   : WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (sscanf(line, "click %u", &code) == 1) {
            org_kde_kwin_fake_input_button(state.input, code, WL_POINTER_BUTTON_STATE_PRESSED);
            org_kde_kwin_fake_input_button(state.input, code, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (sscanf(line, "key %u %u", &code, &pressed) == 2) {
            org_kde_kwin_fake_input_keyboard_key(state.input, code,
                                                 pressed ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                         : WL_KEYBOARD_KEY_STATE_RELEASED);
        } else if ((count = press_codes(line, codes)) > 0) {
            for (int i = 0; i < count; ++i) {
                org_kde_kwin_fake_input_keyboard_key(state.input, codes[i],
                                                     WL_KEYBOARD_KEY_STATE_PRESSED);
            }
            for (int i = count - 1; i >= 0; --i) {
                org_kde_kwin_fake_input_keyboard_key(state.input, codes[i],
                                                     WL_KEYBOARD_KEY_STATE_RELEASED);
            }
        } else {
            printf("error: unknown command: %s", line);
            continue;
        }
        if (wl_display_roundtrip(display) < 0) {
            printf("error: the compositor closed the connection\n");
            return 1;
        }
        printf("ok\n");
    }
    org_kde_kwin_fake_input_destroy(state.input);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
