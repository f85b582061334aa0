#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

// `trovix show log|preferences|about|help [PAGE[#ANCHOR]]`: asks the running
// Trovix to bring that window forward, as its menu items do; with a page, the
// help window opens that page of the help book. Exit status 0, 1 with a one-line
// message when no Trovix runs or the help book has no such page, 2 for a usage
// error.
int runShowCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The windows the command knows.
QStringList showCommandWindows();

// What the running Trovix does for a request: brings the window forward.
// Unknown names are ignored.
void QXShowWindow(const QString& window);

// What the running Trovix does for a help page request ("PAGE", "PAGE.html"
// or "PAGE#ANCHOR"): opens the page and tells answer whether the help book
// has it.
void QXShowHelpPage(const QString& request, std::function<void(bool exists)> answer);
