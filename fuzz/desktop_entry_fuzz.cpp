// Desktop entries are files any package or user installs; any bytes must read
// as an entry or as nothing.
// Desktop entries other programs installed may be of any size; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "platform/workspace/x11/DesktopEntry.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)platform::DesktopEntry::fromContents(contents, QStringLiteral("org.example.Fuzz"));
    return 0;
}
