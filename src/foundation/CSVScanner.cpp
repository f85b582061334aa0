#include "foundation/CSVScanner.h"

#include "foundation/CharacterSets.h"
#include "platform/log/SystemLog.h"

namespace QXCSVParser {
namespace {

constexpr QChar quote = u'"';

QStringList nonEmptyLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || CharacterSets::isLineBreak(text.at(i))) {
            if (i > start) {
                lines.append(text.mid(start, i - start));
            }
            start = i + 1;
        }
    }
    return lines;
}

QStringList fieldsOfLine(const QString& line, const QString& separator)
{
    // An empty separator separates nothing.
    if (separator.isEmpty()) {
        return {line};
    }
    return line.split(separator);
}

QString trimmedOfSpacesAndTabs(const QString& field)
{
    qsizetype first = 0;
    qsizetype end = field.size();
    while (first < end && CharacterSets::isWhiteSpace(field.at(first))) {
        ++first;
    }
    while (end > first && CharacterSets::isWhiteSpace(field.at(end - 1))) {
        --end;
    }
    return field.mid(first, end - first);
}

// Replaces the quote markers of a field, left to right, with the next quoted
// values. The search goes on after each inserted value, so quotes inside a
// value are never taken for markers.
QString insertQuotedValues(QString field, const QStringList& values, qsizetype& nextValue)
{
    qsizetype searchFrom = 0;
    while (nextValue < values.size()) {
        const qsizetype marker = field.indexOf(quote, searchFrom);
        if (marker < 0) {
            break;
        }
        const QString& value = values.at(nextValue++);
        field.replace(marker, 1, value);
        searchFrom = marker + value.size();
    }
    return field;
}

// A record as a one-line list: ("a", "", "b").
QString describeRecord(const QStringList& record)
{
    QStringList items;
    for (QString field : record) {
        field.replace(u'\\', QStringLiteral("\\\\"));
        field.replace(quote, QStringLiteral("\\\""));
        field.replace(u'\n', QStringLiteral("\\n"));
        field.replace(u'\r', QStringLiteral("\\r"));
        items.append(quote + field + quote);
    }
    return u'(' + items.join(QStringLiteral(", ")) + u')';
}

} // namespace

CSVScanner::CSVScanner(QString string) : m_string(std::move(string)) {}

CSVScanner CSVScanner::CSVScannerWithString(const QString& string)
{
    return CSVScanner(string);
}

QString CSVScanner::scanUpToQuote()
{
    const qsizetype start = m_location;
    qsizetype found = m_string.indexOf(quote, m_location);
    if (found < 0) {
        found = m_string.size();
    }
    m_location = found;
    return m_string.mid(start, found - start);
}

bool CSVScanner::scanQuote()
{
    if (!isAtEnd() && m_string.at(m_location) == quote) {
        ++m_location;
        return true;
    }
    return false;
}

std::optional<CSVScanner::Skeleton> CSVScanner::scanQuotedSections()
{
    Skeleton skeleton;
    while (!isAtEnd()) {
        skeleton.text += scanUpToQuote();
        if (isAtEnd()) {
            break;
        }
        scanQuote(); // the opening quote
        QString value = scanUpToQuote();
        if (isAtEnd()) {
            return std::nullopt; // never closed
        }
        // Two quotes in a row stand for one quote in the value.
        while (m_location + 1 < m_string.size() && m_string.at(m_location + 1) == quote) {
            m_location += 2;
            value += quote;
            value += scanUpToQuote();
            if (isAtEnd()) {
                return std::nullopt;
            }
        }
        scanQuote(); // the closing quote
        skeleton.quotedValues.append(value);
        skeleton.text += quote;
    }
    return skeleton;
}

std::optional<QStringList> CSVScanner::scanCSVWithFieldSeparator(const QString& separator,
                                                                 bool trimFields)
{
    const std::optional<Skeleton> skeleton = scanQuotedSections();
    if (!skeleton) {
        return std::nullopt;
    }
    QStringList values;
    qsizetype nextValue = 0;
    for (const QString& line : nonEmptyLines(skeleton->text)) {
        for (QString field : fieldsOfLine(line, separator)) {
            if (trimFields) {
                field = trimmedOfSpacesAndTabs(field);
            }
            if (field.isEmpty()) {
                continue;
            }
            field = insertQuotedValues(field, skeleton->quotedValues, nextValue);
            if (!field.isEmpty()) {
                values.append(field);
            }
        }
    }
    return values;
}

std::optional<QList<QStringList>>
CSVScanner::scanCSVRecordsWithFieldSeparator(const QString& separator, bool trimFields)
{
    const std::optional<Skeleton> skeleton = scanQuotedSections();
    if (!skeleton) {
        return std::nullopt;
    }
    QList<QStringList> records;
    std::optional<qsizetype> expectedFieldCount;
    qsizetype nextValue = 0;
    for (const QString& line : nonEmptyLines(skeleton->text)) {
        QStringList record;
        for (QString field : fieldsOfLine(line, separator)) {
            if (trimFields) {
                field = trimmedOfSpacesAndTabs(field);
            }
            if (!field.isEmpty()) {
                field = insertQuotedValues(field, skeleton->quotedValues, nextValue);
            }
            record.append(field);
        }
        if (!expectedFieldCount) {
            expectedFieldCount = record.size();
        } else if (record.size() != *expectedFieldCount) {
            platform::systemLog(
                QStringLiteral("[QXCSVParser] incorrect number of fields in "
                               "record: %1 (expected: %2; raw line: %3)")
                    .arg(describeRecord(record), QString::number(*expectedFieldCount), line));
            continue;
        }
        records.append(record);
    }
    return records;
}

} // namespace QXCSVParser
