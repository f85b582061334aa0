#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QList>

// Cuts the log tool's streamed JSON array into batches of complete top-level
// objects. The tool pretty-prints, so every top-level object (and only a
// top-level one: strings cannot hold a raw newline and nested objects close
// deeper in) ends with a closing brace in the first column, "\n}". Each call
// to append() delivers every object completed since the previous call, in the
// tool's order; an unfinished object stays buffered. How the bytes are
// chunked never changes the objects delivered.
//
// In streaming mode the tool writes a line of header text before the array's
// "[{"; it is dropped once, at the first complete object, and never reaches
// the parser.
//
// Output that does not parse is not kept for ever: when a whole span of
// objects fails, each of its objects is parsed on its own (with invalid UTF-8
// replaced), the ones that parse are delivered and the rest are dropped. Bytes
// that never reach an object boundary are capped: past maxObjectSize without
// a "\n}" the buffer is dropped and the splitter skips to the next boundary.
// So memory stays bounded by one unfinished object.
class ILRJSONLogSplitter
{
public:
    // 4 MiB: far above any journal entry (journald splits lines at 48 KiB).
    static constexpr qsizetype DefaultMaxObjectSize = 4 * 1024 * 1024;

    explicit ILRJSONLogSplitter(qsizetype maxObjectSize = DefaultMaxObjectSize);

    // Takes the next chunk of output; answers the objects it completed.
    QList<QJsonObject> append(QByteArrayView chunk);

    // Bytes held for an unfinished object.
    qsizetype bufferedSize() const { return m_buffer.size(); }
    // Objects (or runs of bytes) given up because they did not parse or grew
    // past the cap.
    qsizetype droppedCount() const { return m_dropped; }

private:
    QList<QJsonObject> takeObjects(qsizetype end);
    void salvage(QByteArrayView span, QList<QJsonObject>& objects);

    QByteArray m_buffer;
    qsizetype m_maxObjectSize;
    qsizetype m_dropped = 0;
    bool m_removeHeader = true;
    // Dropping bytes up to the next object boundary after an overlong run.
    bool m_skipping = false;
};
