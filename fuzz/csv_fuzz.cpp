// List settings ("Blacklist", "Fast Track") are free text the user types or
// writes with `trovix defaults`. The first byte picks the field separator.
// Lists stored in the settings can be long; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "foundation/QXCSVParser.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    static const char* const separators[] = {"", ",", ";", "\t", "::", "\""};
    const QString separator = QString::fromLatin1(separators[data[0] % 6]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    (void)QXArrayFromCSVString(text, separator);
    return 0;
}
