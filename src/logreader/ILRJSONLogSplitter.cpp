#include "logreader/ILRJSONLogSplitter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

namespace {

constexpr QByteArrayView EndMark("\n}");
constexpr QByteArrayView ArrayStartMark("\n[{");

// Parses "[" + span + "]"; answers whether it was an array.
bool parseArray(QByteArrayView span, QJsonArray* array)
{
    QByteArray text;
    text.reserve(span.size() + 2);
    text.append('[').append(span).append(']');
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        return false;
    }
    *array = document.array();
    return true;
}

void appendObjects(const QJsonArray& array, QList<QJsonObject>& objects)
{
    for (const QJsonValue& value : array) {
        if (value.isObject()) {
            objects.append(value.toObject());
        }
    }
}

} // namespace

ILRJSONLogSplitter::ILRJSONLogSplitter(qsizetype maxObjectSize) : m_maxObjectSize(maxObjectSize) {}

QList<QJsonObject> ILRJSONLogSplitter::append(QByteArrayView chunk)
{
    if (chunk.isEmpty()) {
        return {};
    }
    // The end mark may straddle two chunks: search from one byte before the
    // new ones.
    qsizetype from = std::max<qsizetype>(0, m_buffer.size() - 1);
    m_buffer.append(chunk);

    if (m_skipping) {
        const qsizetype end = QByteArrayView(m_buffer).indexOf(EndMark, from);
        if (end < 0) {
            // Keep the last byte: it may be the newline of the next mark.
            m_buffer.remove(0, m_buffer.size() - 1);
            return {};
        }
        m_buffer.remove(0, end + EndMark.size());
        m_skipping = false;
        from = 0;
    }

    // Bytes before the new chunk hold no end mark (they were consumed up to
    // the last one), so only the new bytes are searched.
    qsizetype end = QByteArrayView(m_buffer).sliced(from).lastIndexOf(EndMark);
    if (end >= 0) {
        end += from;
    } else {
        if (m_buffer.size() > m_maxObjectSize) {
            ++m_dropped;
            m_skipping = true;
            m_buffer.remove(0, m_buffer.size() - 1);
        }
        return {};
    }
    return takeObjects(end);
}

QList<QJsonObject> ILRJSONLogSplitter::takeObjects(qsizetype end)
{
    if (m_removeHeader) {
        m_removeHeader = false;
        const qsizetype header = QByteArrayView(m_buffer).first(end).indexOf(ArrayStartMark);
        if (header >= 0) {
            m_buffer.remove(0, header);
            end -= header;
        }
    }
    QList<QJsonObject> objects;
    const qsizetype start = QByteArrayView(m_buffer).first(end).indexOf('{');
    if (start >= 0) {
        const QByteArrayView span = QByteArrayView(m_buffer).sliced(start, end + 2 - start);
        QJsonArray array;
        if (parseArray(span, &array)) {
            appendObjects(array, objects);
        } else {
            salvage(span, objects);
        }
    }
    // The comma or bracket after the last object is skipped by the next
    // search for "{".
    m_buffer.remove(0, end + EndMark.size());
    return objects;
}

void ILRJSONLogSplitter::salvage(QByteArrayView span, QList<QJsonObject>& objects)
{
    qsizetype from = 0;
    while (from < span.size()) {
        qsizetype end = span.indexOf(EndMark, from);
        end = end < 0 ? span.size() : end + EndMark.size();
        const QByteArrayView piece = span.sliced(from, end - from);
        from = end;
        const qsizetype start = piece.indexOf('{');
        if (start < 0) {
            continue;
        }
        const QByteArrayView object = piece.sliced(start);
        QJsonArray array;
        if (parseArray(object, &array) || parseArray(QString::fromUtf8(object).toUtf8(), &array)) {
            appendObjects(array, objects);
        } else {
            ++m_dropped;
        }
    }
}
