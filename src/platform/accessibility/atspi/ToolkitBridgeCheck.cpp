#include "platform/accessibility/atspi/ToolkitBridgeCheck.h"

#include <QByteArray>
#include <QFile>

namespace platform::atspi {

namespace {

// The file name of a mapping's path: what follows the last "/" of the line;
// nothing for an anonymous mapping ("[heap]", no path).
QByteArrayView mappedFileName(QByteArrayView line)
{
    const qsizetype slash = line.lastIndexOf('/');
    return slash < 0 ? QByteArrayView() : line.sliced(slash + 1);
}

} // namespace

bool mapsShowGtk2WithoutBridge(QByteArrayView maps)
{
    bool gtk2 = false;
    qsizetype start = 0;
    while (start < maps.size()) {
        qsizetype end = maps.indexOf('\n', start);
        if (end < 0) {
            end = maps.size();
        }
        const QByteArrayView name = mappedFileName(maps.sliced(start, end - start));
        // The bridge module (gtk-2.0/modules/libatk-bridge.so) and the
        // library it brings (libatk-bridge-2.0.so.0) both start so.
        if (name.startsWith("libatk-bridge")) {
            return false;
        }
        gtk2 = gtk2 || name.startsWith("libgtk-x11-2.0.so");
        start = end + 1;
    }
    return gtk2;
}

bool processRunsGtk2WithoutBridge(qint64 pid)
{
    if (pid <= 0) {
        return false;
    }
    QFile file(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // The kernel reports no size for the list: it is read in pieces, up to
    // the cap.
    constexpr qint64 PieceLength = 64 * 1024;
    QByteArray maps;
    while (maps.size() <= MaximumProcessMapsLength) {
        const QByteArray piece = file.read(PieceLength);
        if (piece.isEmpty()) {
            break;
        }
        maps.append(piece);
    }
    if (maps.size() > MaximumProcessMapsLength || file.error() != QFileDevice::NoError) {
        return false;
    }
    return mapsShowGtk2WithoutBridge(maps);
}

} // namespace platform::atspi
