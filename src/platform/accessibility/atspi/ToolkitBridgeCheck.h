#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace platform::atspi {

// GTK 2 publishes nothing on the accessibility bus until its accessibility
// bridge, a GTK module, is loaded into the application (GTK_MODULES=
// gail:atk-bridge). Whether that is so shows in the files a process has
// mapped, without asking the application anything.

// The most of a process's map list that is read; a longer list tells nothing.
inline constexpr qsizetype MaximumProcessMapsLength = 8 * 1024 * 1024;

// Whether a process's map list (/proc/PID/maps: one mapping a line, the
// mapped file's path last) shows GTK 2 loaded without the accessibility
// bridge. Only whole lines count; a path merely containing the library names
// does not.
bool mapsShowGtk2WithoutBridge(QByteArrayView maps);

// The same for a running process, from its map list; false when the list
// cannot be read whole (another user's process, one that has ended, a list
// over MaximumProcessMapsLength).
bool processRunsGtk2WithoutBridge(qint64 pid);

} // namespace platform::atspi
