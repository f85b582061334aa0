#pragma once

#include <QTextStream>

namespace platform {
class Menu;
}

// `trovix popup [--all]`: asks the running Trovix to pop up its menu (of the
// frontmost application, or of all applications) at the pointer, as a
// trigger does. `trovix popup [--all] --print [--depth N]` builds the same
// menu in this process without showing it and prints it as an indented tree,
// opening lazy submenus down to depth N (1 by default); with --pid N, the menu
// of that process's application stands where the frontmost one's would. Exit status 0, 1 with
// a one-line message when no Trovix runs, there is no X display or
// accessibility is off, 2 for a usage error.
int runPopupCommand(int& argc, char** argv);

// Prints menu as an indented tree: its title with its font size and
// appearance when set, then its items two spaces in per level: titles (a
// separator as "----"), key equivalents as glyph text, then in brackets what
// else a reader sees: bold, disabled, hidden, alternate, on, mixed, image,
// and whether a submenu was built already or is filled when it opens.
// Submenus are brought up to date (lazy ones filled) down to depth levels.
void printPopUpMenu(platform::Menu& menu, int depth, QTextStream& out);
