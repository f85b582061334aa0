#include "logreader/ILRLogEntry.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <QTimeZone>

namespace {

// A run of exactly count ASCII digits at position, or -1.
int digits(QStringView text, qsizetype position, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(position + i);
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// The locale's short day format with every numeric field at full width: one
// "d" or "M" becomes two, a two-digit year four. Quoted text and the other
// fields stay as they are.
QString paddedDayFormat(const QString& format)
{
    QString padded;
    padded.reserve(format.size() + 4);
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            const qsizetype end = format.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? format.size() : end + 1;
            padded += format.mid(i, stop - i);
            i = stop;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c) {
            ++run;
        }
        if ((c == u'd' || c == u'M') && run == 1) {
            padded += QString(2, c);
        } else if (c == u'y' && run < 4) {
            padded += QStringLiteral("yyyy");
        } else {
            padded += format.mid(i, run);
        }
        i += run;
    }
    return padded;
}

} // namespace

QString ILRLogEntry::displayFormat(const QLocale& locale)
{
    QString day = paddedDayFormat(locale.dateFormat(QLocale::ShortFormat));
    if (day.isEmpty()) {
        day = QStringLiteral("yyyy-MM-dd");
    }
    return day + QStringLiteral("' \u2014 'HH:mm:ss.zzz");
}

ILRLogEntry::ILRLogEntry(QJsonObject object) : m_object(std::move(object))
{
    const std::optional<qint64> date =
        parseTimestamp(m_object.value(QLatin1String("timestamp")).toString());
    if (date) {
        m_date = *date;
    }
}

QString ILRLogEntry::dateText() const
{
    return hasDate() ? displayText(m_date) : QStringLiteral("?");
}

QString ILRLogEntry::eventMessage() const
{
    return m_object.value(QLatin1String("eventMessage")).toString();
}

QString ILRLogEntry::processImagePath() const
{
    return m_object.value(QLatin1String("processImagePath")).toString();
}

QString ILRLogEntry::senderImagePath() const
{
    return m_object.value(QLatin1String("senderImagePath")).toString();
}

std::optional<qint64> ILRLogEntry::parseTimestamp(QStringView text)
{
    // 2026-12-06 20:43:48.123456+0100
    if (text.size() != 31 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' ' ||
        text.at(13) != u':' || text.at(16) != u':' || text.at(19) != u'.' ||
        (text.at(26) != u'+' && text.at(26) != u'-')) {
        return std::nullopt;
    }
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    const int micro = digits(text, 20, 6);
    const int zoneHours = digits(text, 27, 2);
    const int zoneMinutes = digits(text, 29, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || micro < 0 ||
        zoneHours < 0 || zoneMinutes < 0 || zoneHours > 23 || zoneMinutes > 59) {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    const int offset = (text.at(26) == u'-' ? -1 : 1) * (zoneHours * 3600 + zoneMinutes * 60);
    constexpr qint64 unixEpochJulianDay = 2440588;
    const qint64 seconds = (date.toJulianDay() - unixEpochJulianDay) * 86400 +
                           time.msecsSinceStartOfDay() / 1000 - offset;
    return seconds * 1000000 + micro;
}

QString ILRLogEntry::displayText(qint64 microseconds)
{
    const QLocale locale;
    const qint64 milliseconds =
        microseconds >= 0 ? microseconds / 1000 : -((-microseconds + 999) / 1000);
    const qint64 second = milliseconds >= 0 ? milliseconds / 1000 : -((-milliseconds + 999) / 1000);
    // The text of a whole second ends in ".000"; the milliseconds are put in
    // its place.
    // The format is kept with the locale it was made for.
    thread_local QLocale cachedLocale(QLocale::C);
    thread_local QString format;
    thread_local qint64 cachedSecond = std::numeric_limits<qint64>::min();
    thread_local QString cachedText;
    if (format.isEmpty() || locale != cachedLocale) {
        cachedLocale = locale;
        format = displayFormat(locale);
        cachedSecond = std::numeric_limits<qint64>::min();
    }
    if (second != cachedSecond) {
        cachedText =
            locale.toString(QDateTime::fromMSecsSinceEpoch(second * 1000).toLocalTime(), format);
        cachedSecond = second;
    }
    QString text = cachedText;
    const int fraction = int(milliseconds - second * 1000);
    if (text.endsWith(QLatin1String(".000"))) {
        text.replace(text.size() - 3, 3,
                     QStringLiteral("%1").arg(fraction, 3, 10, QLatin1Char('0')));
    }
    return text;
}
