// Feeds arbitrary bytes to the log splitter in chunks chosen by the input
// itself, then makes entries of whatever it delivers: nothing may crash, and
// the buffer must stay bounded by one unfinished object.
// The log tool's output runs to megabytes; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "logreader/ILRJSONLogSplitter.h"
#include "logreader/ILRLogEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr qsizetype cap = 64 * 1024;
    ILRJSONLogSplitter splitter(cap);
    // The first byte picks the chunk size, so that the same bytes are tried
    // cut in many ways.
    const size_t chunk = size > 0 ? (data[0] % 64) + 1 : 1;
    size_t offset = size > 0 ? 1 : 0;
    while (offset < size) {
        const size_t length = std::min(chunk, size - offset);
        const auto objects = splitter.append(
            QByteArrayView(reinterpret_cast<const char*>(data + offset), qsizetype(length)));
        for (const QJsonObject& object : objects) {
            const ILRLogEntry entry(object);
            (void)entry.eventMessage();
        }
        if (splitter.bufferedSize() > cap + qsizetype(chunk) + 1) {
            std::abort();
        }
        offset += length;
    }
    (void)ILRLogEntry::parseTimestamp(
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
