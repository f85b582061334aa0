#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item]`: prints an
// application's menu bar as the pop-up reads it (title, role, enabled state,
// check mark, key equivalent, hidden flag), through the same accessibility
// functions. With `--press "Menu > Submenu > Item"` it presses that item
// instead, as choosing it in the pop-up would, and waits for the
// application's answer at most the messaging timeout: an item that opens a
// modal dialog counts as pressed while the application keeps running. Exit
// status 0 on success, 1 with a one-line message when the menu bar cannot be
// read or the application refused the press, 2 for a usage error.
int runDumpMenuCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
