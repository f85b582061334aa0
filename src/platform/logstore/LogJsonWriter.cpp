#include "platform/logstore/LogJsonWriter.h"

#include "platform/logstore/LogEntry.h"

#include <QString>

namespace platform::logstore {

namespace {

constexpr QByteArrayView indent = "  ";

void appendMember(QByteArray& out, QByteArrayView key, bool* first)
{
    out.append(*first ? QByteArrayView("\n") : QByteArrayView(",\n"));
    *first = false;
    out.append(indent);
    appendJsonString(out, key);
    out.append(" : ");
}

void appendStringMember(QByteArray& out, QByteArrayView key, QByteArrayView value, bool* first)
{
    appendMember(out, key, first);
    appendJsonString(out, value);
}

// A decimal process id as a JSON number; anything else stays text.
void appendNumberMember(QByteArray& out, QByteArrayView key, QByteArrayView value, bool* first)
{
    bool isNumber = !value.isEmpty() && value.size() <= 18;
    for (const char c : value) {
        isNumber = isNumber && c >= '0' && c <= '9';
    }
    if (isNumber && value.size() > 1 && value[0] == '0') {
        isNumber = false;
    }
    appendMember(out, key, first);
    if (isNumber) {
        out.append(value);
    } else {
        appendJsonString(out, value);
    }
}

} // namespace

void appendJsonString(QByteArray& out, QByteArrayView value)
{
    static constexpr char hex[] = "0123456789abcdef";
    out.append('"');
    const char* data = value.data();
    const qsizetype size = value.size();
    qsizetype plainStart = 0;
    qsizetype i = 0;
    auto flushPlain = [&] {
        if (i > plainStart) {
            out.append(data + plainStart, i - plainStart);
        }
    };
    while (i < size) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80) {
            ++i;
            continue;
        }
        flushPlain();
        if (c >= 0x80) {
            // A run of non-ASCII bytes: Qt's decoder checks it and replaces
            // every malformed sequence with U+FFFD. Valid sequences never
            // contain ASCII bytes, so cutting the run there splits nothing.
            qsizetype end = i + 1;
            while (end < size && static_cast<unsigned char>(data[end]) >= 0x80) {
                ++end;
            }
            out.append(QString::fromUtf8(data + i, end - i).toUtf8());
            i = end;
        } else {
            switch (c) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\t':
                out.append("\\t");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\b':
                out.append("\\b");
                break;
            case '\f':
                out.append("\\f");
                break;
            default: {
                const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xf]};
                out.append(escape, sizeof escape);
            }
            }
            ++i;
        }
        plainStart = i;
    }
    flushPlain();
    out.append('"');
}

void LogJsonWriter::writeEntry(const LogEntry& entry)
{
    m_out.append(m_entries == 0 ? QByteArrayView("[{") : QByteArrayView(",{"));
    ++m_entries;
    bool first = true;
    appendStringMember(m_out, keys::timestamp, entry.timestamp(), &first);
    appendStringMember(m_out, keys::eventType, entry.value(keys::eventType), &first);
    appendStringMember(m_out, keys::messageType, entry.messageType(), &first);
    appendStringMember(m_out, keys::eventMessage, entry.value(keys::eventMessage), &first);
    appendStringMember(m_out, keys::processImagePath, entry.value(keys::processImagePath), &first);
    appendStringMember(m_out, keys::senderImagePath, entry.value(keys::senderImagePath), &first);
    appendStringMember(m_out, keys::subsystem, entry.value(keys::subsystem), &first);
    const QByteArrayView pid = entry.value(keys::processID);
    if (!pid.isEmpty()) {
        appendNumberMember(m_out, keys::processID, pid, &first);
    }

    // The remaining journal fields; journald groups repeated fields, but a
    // repeated name is looked for anywhere so no value is lost.
    const qsizetype count = entry.journalFieldCount();
    for (qsizetype i = 0; i < count; ++i) {
        const LogEntry::Field field = entry.journalField(i);
        if (isReportedUnderAnotherName(field.name)) {
            continue;
        }
        bool seenBefore = false;
        qsizetype repeats = 0;
        for (qsizetype j = 0; j < count && !seenBefore; ++j) {
            if (j != i && entry.journalField(j).name == field.name) {
                seenBefore = j < i;
                ++repeats;
            }
        }
        if (seenBefore) {
            continue;
        }
        if (repeats == 0) {
            appendStringMember(m_out, field.name, field.value, &first);
            continue;
        }
        appendMember(m_out, field.name, &first);
        m_out.append("[\n");
        bool firstValue = true;
        for (qsizetype j = i; j < count; ++j) {
            const LogEntry::Field other = entry.journalField(j);
            if (other.name == field.name) {
                m_out.append(firstValue ? QByteArrayView("    ") : QByteArrayView(",\n    "));
                firstValue = false;
                appendJsonString(m_out, other.value);
            }
        }
        m_out.append("\n  ]");
    }
    m_out.append("\n}");
}

void LogJsonWriter::finish()
{
    m_out.append(m_entries == 0 ? QByteArrayView("[]\n") : QByteArrayView("]\n"));
}

} // namespace platform::logstore
