// The search history file is JSON that any program of the user may have
// written over. Any bytes must read as a history (perhaps empty) that stays
// within its limits and can be used and saved again. History files are read
// up to 4 MB; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "search/SearchHistory.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SearchHistory history(QStringLiteral("/nonexistent/search-history.json"));
    history.read(bytes);
    const int boost = history.boost(QStringLiteral("Editor"), QStringLiteral("File › Save"));
    if (boost < 0 || boost > SearchHistory::MaximumBoost) {
        std::fprintf(stderr, "boost %d outside 0...%d\n", boost, SearchHistory::MaximumBoost);
        std::abort();
    }
    history.recordPress(QStringLiteral("Editor"), QStringLiteral("File › Save"));
    return 0;
}
