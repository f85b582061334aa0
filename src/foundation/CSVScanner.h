#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace QXCSVParser {

// Splits text into comma-separated values: a configurable field separator,
// double-quoted sections that may hold the separator, line breaks and doubled
// quotes (""), optional trimming of spaces and tabs around fields (never
// inside quotes), and either one flat list of values or records of equal
// length. Every character of the text counts, white space included. A scan
// consumes the scanner: scanning it again finds nothing.
class CSVScanner
{
public:
    explicit CSVScanner(QString string);

    static CSVScanner CSVScannerWithString(const QString& string);

    // All non-empty fields of all lines, in order. Nothing when a quoted
    // section is not closed.
    std::optional<QStringList> scanCSVWithFieldSeparator(const QString& separator, bool trimFields);
    // One record per non-empty line, empty fields kept. The first record fixes
    // the number of fields; a record of another length is logged and left out.
    // Nothing when a quoted section is not closed.
    std::optional<QList<QStringList>> scanCSVRecordsWithFieldSeparator(const QString& separator,
                                                                       bool trimFields);

    bool isAtEnd() const { return m_location >= m_string.size(); }

private:
    struct Skeleton
    {
        // The text with every quoted section replaced by one quote character.
        QString text;
        // The values of the quoted sections, in order.
        QStringList quotedValues;
    };

    // Takes the quoted sections out of the rest of the text.
    std::optional<Skeleton> scanQuotedSections();
    // Moves past everything up to the next quote; answers what it passed.
    QString scanUpToQuote();
    bool scanQuote();

    QString m_string;
    qsizetype m_location = 0;
};

} // namespace QXCSVParser
