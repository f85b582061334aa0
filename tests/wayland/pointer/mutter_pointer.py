#!/usr/bin/env python3
"""A pointer and keyboard of the tests' own on mutter, whose headless backend has none:
a remote-desktop session (org.gnome.Mutter.RemoteDesktop) moves and clicks as
commands on standard input say, one a line, answering each with "ok" on
standard output. The commands are those of trovix-virtual-pointer:

  move X Y WIDTH HEIGHT   to X,Y (WIDTH and HEIGHT are not needed here)
  by DX DY                relative motion
  button CODE 1|0         press or release an evdev button (272 = left)
  click CODE              press and release
  key CODE 1|0            press or release an evdev key (those of
                          trovix-virtual-keyboard)
  press CODE...           press the keys in order, release them in reverse

Absolute motion needs a screen-cast stream, which needs PipeWire; relative
motion does not, so a move goes to the top-left corner first and from there
by X,Y. The session lives as long as the process.
"""

import sys

from gi.repository import Gio, GLib

BUS_NAME = "org.gnome.Mutter.RemoteDesktop"


def call(bus, path, interface, method, arguments=None, reply="()"):
    return bus.call_sync(BUS_NAME, path, interface, method, arguments,
                         GLib.VariantType(reply), Gio.DBusCallFlags.NONE, 5000, None)


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    session = call(bus, "/org/gnome/Mutter/RemoteDesktop", BUS_NAME, "CreateSession",
                   None, "(o)").unpack()[0]
    interface = BUS_NAME + ".Session"
    call(bus, session, interface, "Start")
    print("ready", flush=True)

    def motion(dx, dy):
        call(bus, session, interface, "NotifyPointerMotionRelative",
             GLib.Variant("(dd)", (dx, dy)))

    def button(code, pressed):
        call(bus, session, interface, "NotifyPointerButton",
             GLib.Variant("(ib)", (code, pressed)))

    def key(code, pressed):
        call(bus, session, interface, "NotifyKeyboardKeycode",
             GLib.Variant("(ub)", (code, pressed)))

    for line in sys.stdin:
        words = line.split()
        try:
            if words[0] == "move":
                motion(-100000.0, -100000.0)
                motion(float(words[1]), float(words[2]))
            elif words[0] == "by":
                motion(float(words[1]), float(words[2]))
            elif words[0] == "button":
                button(int(words[1]), words[2] == "1")
            elif words[0] == "click":
                button(int(words[1]), True)
                button(int(words[1]), False)
            elif words[0] == "key":
                key(int(words[1]), words[2] == "1")
            elif words[0] == "press" and len(words) > 1:
                codes = [int(word) for word in words[1:]]
                for code in codes:
                    key(code, True)
                for code in reversed(codes):
                    key(code, False)
            else:
                print("error: unknown command: " + line.strip(), flush=True)
                continue
        except (IndexError, ValueError, GLib.Error) as error:
            print("error: %s" % error, flush=True)
            continue
        # A round trip, so that the motion has been handled before the answer.
        call(bus, "/org/gnome/Mutter/RemoteDesktop", "org.freedesktop.DBus.Peer", "Ping")
        print("ok", flush=True)
    call(bus, session, interface, "Stop")


if __name__ == "__main__":
    main()
