#pragma once

#include <QJsonObject>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <limits>
#include <optional>

// One entry of the log tool's output: the object as the tool wrote it, kept
// untouched (every key reaches a saved file), with its date worked out once
// when the entry is made. Entries are immutable, so the threads that collect
// them and the one that renders them share them without locking.
class ILRLogEntry
{
public:
    // The date of an entry without a readable "timestamp": before every other.
    static constexpr qint64 DistantPast = std::numeric_limits<qint64>::min();

    ILRLogEntry() = default;
    explicit ILRLogEntry(QJsonObject object);

    const QJsonObject& object() const { return m_object; }
    // Microseconds since the epoch, or DistantPast.
    qint64 date() const { return m_date; }
    bool hasDate() const { return m_date != DistantPast; }
    // The date as the window shows it: the local day, " — ", then the time to
    // the millisecond; "?" without a date. Made when asked, by the thread
    // that renders, so that reading the tool's output stays cheap.
    QString dateText() const;

    QString eventMessage() const;
    QString processImagePath() const;
    QString senderImagePath() const;

    // Parses the tool's timestamp, "yyyy-MM-dd HH:mm:ss.SSSSSSZ" (six digits
    // of microseconds and a numeric zone, "+0100"), into microseconds since
    // the epoch. Anything else, a shorter fraction or a missing zone included,
    // gives nothing.
    static std::optional<qint64> parseTimestamp(QStringView text);

    // The display text of a date (microseconds since the epoch), in local
    // time. The text of the last whole second is kept per thread: a log's
    // entries come in runs of the same second.
    static QString displayText(qint64 microseconds);
    // The date-and-time format of displayText() for LOCALE: the locale's
    // numeric day in its own order with two-digit days and months and a
    // four-digit year, " — ", then the time to the millisecond.
    static QString displayFormat(const QLocale& locale);

private:
    QJsonObject m_object;
    qint64 m_date = DistantPast;
};

// Orders by date, earliest first; a stable sort keeps the tool's order among
// entries of the same microsecond.
inline bool ILRLogEntryIsEarlier(const ILRLogEntry& a, const ILRLogEntry& b)
{
    return a.date() < b.date();
}
