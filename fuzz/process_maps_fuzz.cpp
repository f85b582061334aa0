// A process's map list names the files it has mapped, and a process chooses
// those names: the list is read to tell a GTK 2 application without its
// accessibility bridge. Lists of large applications run to hundreds of
// kilobytes, so inputs reach a megabyte.
// fuzz-max-len: 1048576
#include "platform/accessibility/atspi/ToolkitBridgeCheck.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)platform::atspi::mapsShowGtk2WithoutBridge(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
