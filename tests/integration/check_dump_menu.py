#!/usr/bin/env python3
"""Compares `trovix dump-menu --json` of a fixture with the menu description it
was built from. Usage: check_dump_menu.py DESCRIPTION DUMP TOOLKIT (qt or gtk).
Prints one line per difference and exits 1 when there is any."""

import json
import sys

MODIFIER_GLYPHS = [("Ctrl", "\u2303"), ("Alt", "\u2325"), ("Shift", "\u21e7"), ("Meta", "\u2318")]
KEY_LABELS = {
    "Del": "\u2326", "Left": "\u2190", "Right": "\u2192", "Up": "\u2191", "Down": "\u2193",
    "Home": "\u2196", "End": "\u2198", "PgUp": "\u21de", "PgDown": "\u21df", "Tab": "\u21e5",
    "Return": "\u21b5", "Esc": "Escape", "Backspace": "\u232b",
}


def key_text(shortcut):
    if not shortcut:
        return ""
    if shortcut.endswith("++"):
        modifiers, key = shortcut[:-2].split("+"), "+"
    else:
        parts = shortcut.split("+")
        modifiers, key = parts[:-1], parts[-1]
    glyphs = "".join(glyph for name, glyph in MODIFIER_GLYPHS if name in modifiers)
    return glyphs + KEY_LABELS.get(key, key.upper())


def compare(expected_items, actual_items, path, toolkit, problems):
    # Items the application hides are left out, as in the pop-up.
    expected_items = [item for item in expected_items if not item.get("hidden")]
    if len(expected_items) != len(actual_items):
        problems.append(f"{path}: {len(actual_items)} items, expected {len(expected_items)}")
        return
    for expected, actual in zip(expected_items, actual_items):
        if expected.get("separator"):
            if not actual.get("separator"):
                problems.append(f"{path}: {actual.get('title')!r} where a separator belongs")
            continue
        title = expected["title"]
        where = f"{path} > {title}" if path else title
        if actual.get("title") != title:
            problems.append(f"{where}: title {actual.get('title')!r}")
            continue
        if actual.get("hidden"):
            problems.append(f"{where}: listed although hidden")
        enabled = expected.get("enabled", True)
        if actual.get("enabled") != enabled:
            problems.append(f"{where}: enabled {actual.get('enabled')}, expected {enabled}")
        check = expected.get("check")
        mark = {"checked": "\u2713", "mixed": "-"}.get(check, "")
        if toolkit == "qt" and check == "mixed":
            mark = ""  # Qt menus have no mixed state
        if actual.get("mark", "") != mark:
            problems.append(f"{where}: mark {actual.get('mark')!r}, expected {mark!r}")
        key = key_text(expected.get("shortcut", ""))
        if actual.get("key", "") != key:
            problems.append(f"{where}: key {actual.get('key')!r}, expected {key!r}")
        if "items" in expected:
            if not actual.get("submenu"):
                problems.append(f"{where}: no submenu")
            else:
                compare(expected["items"], actual.get("items", []), where, toolkit, problems)
        elif actual.get("submenu"):
            problems.append(f"{where}: an unexpected submenu")


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        description = json.load(file)
    with open(sys.argv[2], encoding="utf-8") as file:
        dump = json.load(file)
    toolkit = sys.argv[3]
    problems = []
    menus = dump.get("menus", [])
    if not menus or menus[0].get("title") != "Window" or not menus[0].get("submenu"):
        problems.append("index 0 is not the window menu")
    compare(description["menus"], menus[1:], "", toolkit, problems)
    for problem in problems:
        print(f"{toolkit}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
