#pragma once

// `trovix demo-menu [--font-size N] [--appearance system|light|dark] [--at X,Y]`
// pops up a sample menu (key equivalents, marks, a bold title, disabled and
// hidden items, an alternate, the program glyph, a lazily filled submenu) at
// the pointer, or at X,Y, and blocks until it closes; then prints
// "chosen: TITLE" or "chosen: (none)". Used to look at the menu presenter on
// a real desktop. Creates its own QApplication; answers the exit status
// (2 on bad arguments).
int runDemoMenuCommand(int& argc, char** argv);
