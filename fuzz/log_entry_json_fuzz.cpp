// Journal fields hold whatever programs wrote, binary included. Every value
// must come out as a JSON string that parses back to its text, and only the
// end of the entry may put "}" in the first column.
// One journal entry can carry a message of megabytes; inputs up to 1 MB are tried.
// fuzz-max-len: 1048576
#include "platform/logstore/LogEntry.h"
#include "platform/logstore/LogJsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace platform::logstore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView value(reinterpret_cast<const char*>(data), qsizetype(size));
    LogEntry entry;
    entry.setRealtime(1796589937750883);
    entry.addJournalField("MESSAGE", value);
    entry.addJournalField("OTHER", value);
    QByteArray out;
    LogJsonWriter writer(out);
    writer.writeEntry(entry);
    writer.finish();

    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() || out.count("\n}") != 1) {
        std::abort();
    }
    const QJsonObject object = document.array().at(0).toObject();
    if (object.value(u"eventMessage").toString() != QString::fromUtf8(value) ||
        object.value(u"OTHER").toString() != QString::fromUtf8(value)) {
        std::abort();
    }
    return 0;
}
