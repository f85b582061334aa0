// Property lists come from files other programs and users write: the settings
// file, saved logs. Any bytes, XML or binary, must read as a value or as an
// error, and a value that was read must write out as XML that reads back as
// the same value: the settings file is rewritten from what was read. Settings
// files reach megabytes (the nested file that once crashed every start is
// 1.5 MB), so inputs up to 2 MB are tried.
// fuzz-max-len: 2097152
#include "platform/plist/PropertyList.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto value = platform::plist::fromData(bytes, &error);
    if (!value) {
        return 0;
    }
    const QByteArray xml = platform::plist::toXml(*value);
    QString againError;
    const auto again = platform::plist::fromData(xml, &againError);
    if (!again || !platform::plist::identical(*value, *again)) {
        std::fprintf(stderr, "written value does not read back (%s):\n%s\n", qPrintable(againError),
                     xml.constData());
        std::abort();
    }
    return 0;
}
