// Property lists come from files other programs and users write: the settings
// file, saved logs. Any bytes must read as a value or as an error.
#include "platform/plist/PropertyList.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    if (const auto value = platform::plist::fromData(bytes, &error)) {
        // What was read must write back and read again.
        const QByteArray xml = platform::plist::toXml(*value);
        (void)platform::plist::fromData(xml);
    }
    return 0;
}
