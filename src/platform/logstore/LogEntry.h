#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

namespace platform::logstore {

// One journal entry as the log tool reports it: the journal's fields with
// their raw values, and the entry's wall-clock time. The keys the log reader
// uses ("eventMessage", "processImagePath", ...) are derived from the journal
// fields; value() answers both those keys and plain journal field names.
class LogEntry
{
public:
    struct Field
    {
        QByteArrayView name;
        QByteArrayView value;
    };

    // Forgets every field, keeping the storage for the next entry.
    void clear();

    // The time the journal received the entry, in microseconds since the epoch.
    void setRealtime(qint64 microseconds);
    qint64 realtime() const { return m_realtime; }

    // Adds one "NAME=value" journal field; the bytes are copied.
    void addJournalField(QByteArrayView nameAndValue);
    void addJournalField(QByteArrayView name, QByteArrayView value);

    // The first value of the journal field NAME, or an empty view.
    QByteArrayView journalValue(QByteArrayView name) const;

    // The value of a reported key, or of a journal field by its own name. A key
    // the entry lacks reads as an empty string.
    QByteArrayView value(QByteArrayView key) const;

    // Syslog priority 0 (emergency) to 7 (debug); an entry without a readable
    // PRIORITY counts as 5 (notice), so it is shown at the default level.
    int priority() const;

    // "Fault" (0-2), "Error" (3), "Default" (4, 5), "Info" (6), "Debug" (7).
    QByteArrayView messageType() const;

    // "yyyy-MM-dd HH:mm:ss.SSSSSS+zzzz" in local time with its numeric offset.
    QByteArrayView timestamp() const;

    // The journal fields, in the order they were added.
    qsizetype journalFieldCount() const { return qsizetype(m_fields.size()); }
    Field journalField(qsizetype index) const;

private:
    struct Span
    {
        qsizetype nameStart = 0;
        qsizetype nameSize = 0;
        qsizetype valueStart = 0;
        qsizetype valueSize = 0;
    };

    QByteArrayView nameOf(const Span& span) const;
    QByteArrayView valueOf(const Span& span) const;

    QByteArray m_data;
    std::vector<Span> m_fields;
    qint64 m_realtime = 0;
    char m_timestamp[48] = {};
    int m_timestampSize = 0;
};

// Key names the log tool reports, derived from journal fields.
namespace keys {
inline constexpr QByteArrayView timestamp = "timestamp";
inline constexpr QByteArrayView eventMessage = "eventMessage";
inline constexpr QByteArrayView processImagePath = "processImagePath";
inline constexpr QByteArrayView senderImagePath = "senderImagePath";
inline constexpr QByteArrayView subsystem = "subsystem";
inline constexpr QByteArrayView eventType = "eventType";
inline constexpr QByteArrayView messageType = "messageType";
inline constexpr QByteArrayView processID = "processID";
} // namespace keys

// Journal fields that a reported key carries in full, so they are not
// repeated under their own names.
bool isReportedUnderAnotherName(QByteArrayView journalName);

// The journal field a key is read from: the field behind a reported key
// ("eventMessage": "MESSAGE", "messageType": "PRIORITY"), the key itself for
// a journal name, or nothing for keys that need no field ("timestamp").
QByteArrayView journalFieldOf(QByteArrayView key);

} // namespace platform::logstore
