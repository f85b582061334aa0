#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace platform::logstore {

class LogEntry;

// Writes log entries as the pretty-printed JSON array the log reader cuts
// into objects: the array opens with "[{", every top-level object closes with
// "}" in the first column, the next one follows right after a comma ("},{"),
// and the array ends with "}]". Nothing else ever puts a "}" in the first
// column: line breaks inside values are escaped, and values sit indented.
//
//   [{
//     "timestamp" : "2026-12-06 20:41:07.123456+0000",
//     ...
//   },{
//     ...
//   }]
class LogJsonWriter
{
public:
    // Appends to OUT, which the caller empties whenever it has written it.
    explicit LogJsonWriter(QByteArray& out) : m_out(out) {}

    // One entry: the reported keys first, then every other journal field under
    // its own name (a field that occurs more than once becomes an array).
    void writeEntry(const LogEntry& entry);

    // Ends the array: "]" after the last entry, "[]" when there was none.
    void finish();

    bool hasEntries() const { return m_entries > 0; }

private:
    QByteArray& m_out;
    qint64 m_entries = 0;
};

// Appends VALUE as a quoted JSON string. Quotes, backslashes and control
// characters are escaped; bytes that are not valid UTF-8 become U+FFFD, so a
// binary or mis-encoded value still reads as text instead of being dropped.
void appendJsonString(QByteArray& out, QByteArrayView value);

} // namespace platform::logstore
