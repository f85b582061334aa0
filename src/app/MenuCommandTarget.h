#pragma once

#include "platform/workspace/RunningApplication.h"

#include <QTextStream>

// The steps the menu-reading commands (dump-menu, search) share before they
// read another application.

// Whether other applications can be read; prepares the accessibility bus when
// they can, and says why not on err when they cannot.
bool prepareMenuCommandAccessibility(QTextStream& err);

// The application with that process identifier, or the frontmost one when pid
// is 0 or less. Null, with the reason on err, when there is none.
platform::RunningApplication menuCommandApplication(qint64 pid, QTextStream& err);

// When the application with that process identifier reads as having no menus
// because it is a GTK 2 application started without its accessibility
// bridge: says so on err, naming the help that tells how to load the bridge,
// and returns true. False, with nothing written, otherwise.
bool reportMissingAccessibilityBridge(qint64 pid, const QString& name, QTextStream& err);
