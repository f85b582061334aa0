// Autostart entries are files that other programs and copies of Trovix leave
// in the autostart folders; any bytes must parse or be refused, and what
// parses must give an Exec program without crashing.
// Entries other programs wrote may be of any size; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "platform/loginitems/xdg/AutostartEntry.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto entry = platform::AutostartEntry::parse(text)) {
        (void)entry->execProgram();
        (void)platform::AutostartEntry::execValueForProgram(entry->value(QStringLiteral("Exec")));
    }
    return 0;
}
