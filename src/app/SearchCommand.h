#pragma once

#include <QStringList>
#include <QTextStream>

// `trovix search [--all] [--pid N] [--json] [--press] [--limit N] QUERY`:
// searches the whole menu tree of the frontmost application (or of every
// running application, or of one process) and prints the best matches, best
// first, one a line as "File › New Window<TAB>Ctrl+Shift+N". --json prints an
// array of objects instead; --press presses the best enabled match, as
// choosing it in the pop-up would, and says which. Exit status 0 on success,
// 1 with a one-line message when nothing matches or the press failed, 2 for
// a usage error. `trovix search --clear-history` alone forgets the items
// pressed before, which otherwise rank first among equals.
int runSearchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
