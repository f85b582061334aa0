#!/usr/bin/python3
"""Reads and drives a window of a running process over AT-SPI, as a screen
reader would, for the desktop tests.

    accessible.py PID WINDOW NAME text      prints the element's text
    accessible.py PID WINDOW NAME states    prints its states, one a line
    accessible.py PID WINDOW NAME description  prints its description
    accessible.py PID WINDOW NAME do ACTION performs its action ACTION
    accessible.py PID WINDOW NAME set TEXT  replaces its text with TEXT
    accessible.py PID WINDOW NAME shown ROLE  prints the size (WIDTHxHEIGHT)
                                           of each element of role ROLE inside
                                           it that is showing, one a line

WINDOW is the accessible name of a top-level window of process PID, NAME that
of an element inside it: the first found, breadth first, that offers what the
command needs (a label and its field may share a name); NAME the same as
WINDOW is the window itself. Exits 1 when the window, the element or the
action is not there, or the call fails; the reason goes to stderr.
"""

import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# libatspi marks get_action_name deprecated without a replacement in its
# bindings; the warning would only clutter the tests' output.
warnings.filterwarnings("ignore", category=DeprecationWarning, module=__name__)

# Trovix's windows are a few levels deep; a cap keeps a strange tree finite.
MAXIMUM_DEPTH = 16
MAXIMUM_ELEMENTS = 5000


class Missing(Exception):
    pass


def application(pid):
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        child = desktop.get_child_at_index(index)
        try:
            if child is not None and child.get_process_id() == pid:
                return child
        except GLib.Error:
            continue
    raise Missing(f"process {pid} is not on the accessibility bus")


def children(element):
    try:
        count = element.get_child_count()
    except GLib.Error:
        return []
    found = []
    for index in range(count):
        try:
            child = element.get_child_at_index(index)
        except GLib.Error:
            continue
        if child is not None:
            found.append(child)
    return found


def name_of(element):
    try:
        return element.get_name() or ""
    except GLib.Error:
        return ""


def find(root, name, interface):
    level = [root]
    seen = 0
    for _ in range(MAXIMUM_DEPTH):
        following = []
        for element in level:
            if element is not root and name_of(element) == name and (
                interface is None or offers(element, interface)
            ):
                return element
            seen += 1
            if seen > MAXIMUM_ELEMENTS:
                raise Missing(f"more than {MAXIMUM_ELEMENTS} elements, none named '{name}'")
            following.extend(children(element))
        if not following:
            break
        level = following
    offering = f" offering {interface}" if interface else ""
    raise Missing(f"no element named '{name}'{offering}")


def window(pid, title):
    for child in children(application(pid)):
        if name_of(child) == title:
            return child
    raise Missing(f"process {pid} shows no window '{title}'")


def offers(element, interface):
    try:
        return interface in element.get_interfaces()
    except GLib.Error:
        return False


def text(element):
    if not offers(element, "Text"):
        raise Missing(f"'{name_of(element)}' has no text")
    return Atspi.Text.get_text(element, 0, Atspi.Text.get_character_count(element))


def states(element):
    state_set = element.get_state_set()
    return [
        Atspi.StateType(value).value_nick
        for value in range(int(Atspi.StateType.LAST_DEFINED))
        if state_set.contains(Atspi.StateType(value))
    ]


def shown(root, role):
    """The sizes of the elements of ROLE below ROOT in the SHOWING state."""
    sizes = []
    level = children(root)
    seen = 0
    for _ in range(MAXIMUM_DEPTH):
        following = []
        for element in level:
            seen += 1
            if seen > MAXIMUM_ELEMENTS:
                raise Missing(f"more than {MAXIMUM_ELEMENTS} elements")
            try:
                if element.get_role_name() == role and element.get_state_set().contains(
                    Atspi.StateType.SHOWING
                ):
                    extents = element.get_extents(Atspi.CoordType.SCREEN)
                    sizes.append(f"{extents.width}x{extents.height}")
            except GLib.Error:
                continue
            following.extend(children(element))
        if not following:
            break
        level = following
    return sizes


def do(element, action_name):
    names = []
    if offers(element, "Action"):
        count = Atspi.Action.get_n_actions(element)
        names = [Atspi.Action.get_action_name(element, i) for i in range(count)]
    if action_name not in names:
        raise Missing(f"'{name_of(element)}' offers no action '{action_name}' (offers {names})")
    if not Atspi.Action.do_action(element, names.index(action_name)):
        raise Missing(f"'{name_of(element)}' refused '{action_name}'")


def set_text(element, new_text):
    if not offers(element, "EditableText"):
        raise Missing(f"'{name_of(element)}' has no text that can be changed")
    if not Atspi.EditableText.set_text_contents(element, new_text):
        raise Missing(f"'{name_of(element)}' refused the text")


def main(arguments):
    if len(arguments) < 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    pid, title, name, command = int(arguments[0]), arguments[1], arguments[2], arguments[3]
    try:
        interface = {"text": "Text", "do": "Action", "set": "EditableText"}.get(command)
        top = window(pid, title)
        element = top if name == title else find(top, name, interface)
        if command == "text":
            print(text(element))
        elif command == "states":
            print("\n".join(states(element)))
        elif command == "description":
            print(element.get_description() or "")
        elif command == "do" and len(arguments) == 5:
            do(element, arguments[4])
        elif command == "set" and len(arguments) == 5:
            set_text(element, arguments[4])
        elif command == "shown" and len(arguments) == 5:
            print("\n".join(shown(element, arguments[4])))
        else:
            print(__doc__.strip(), file=sys.stderr)
            return 2
    except (Missing, GLib.Error) as error:
        print(f"accessible.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
