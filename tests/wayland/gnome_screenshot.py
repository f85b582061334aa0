#!/usr/bin/env python3
"""A screenshot of the whole GNOME Shell desktop, Wayland windows too, to FILE.

GNOME Shell takes screenshots only for a few programs of its own, which it
knows by their bus names; this one takes the name of GNOME's screenshot tool
on the session bus for the moment of the call (the tests' bus is private).
"""

import sys

from gi.repository import Gio, GLib

SHELL = "org.gnome.Shell.Screenshot"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gnome_screenshot.py FILE")
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    # DBUS_NAME_FLAG_DO_NOT_QUEUE: fail at once rather than wait for the name.
    owned = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "RequestName", GLib.Variant("(su)", ("org.gnome.Screenshot", 4)),
                          GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, 5000, None)
    if owned.unpack()[0] not in (1, 4):
        sys.exit("the name org.gnome.Screenshot is taken")
    # Screenshot(include_cursor, flash, filename) -> (success, filename_used)
    success, _ = bus.call_sync(SHELL, "/org/gnome/Shell/Screenshot", SHELL, "Screenshot",
                               GLib.Variant("(bbs)", (True, False, sys.argv[1])),
                               GLib.VariantType("(bs)"), Gio.DBusCallFlags.NONE, 10000,
                               None).unpack()
    if not success:
        sys.exit("GNOME Shell took no screenshot")


if __name__ == "__main__":
    main()
