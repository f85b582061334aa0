#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <optional>

// Property lists (XML and binary) bridged to QVariant through libplist:
// bool <-> QMetaType::Bool, integer <-> qlonglong (or qulonglong beyond the
// signed range), real <-> double, string <-> QString, date <-> QDateTime (UTC),
// data <-> QByteArray, array <-> QVariantList, dictionary <-> QVariantMap.
//
// Values to write may also be of the other integer and floating-point types, a
// QStringList, a QVariantHash or a QDateTime in any time zone; they are written
// as the matching property-list type. XML keeps dates to the whole second.
namespace platform::plist {

// Parses XML or binary property-list data. On failure answers nothing and,
// when asked, a one-line reason.
std::optional<QVariant> fromData(const QByteArray& data, QString* error = nullptr);

// Reads and parses a property-list file.
std::optional<QVariant> readFile(const QString& path, QString* error = nullptr);

// The XML form of a value. Values that have no property-list type are left
// out of arrays and dictionaries; an unrepresentable top-level value gives an
// empty result.
QByteArray toXml(const QVariant& value);

// Writes the XML form atomically: a reader sees the old file or the new one,
// never a partial one.
bool writeFile(const QString& path, const QVariant& value, QString* error = nullptr);

// The value as it reads back after a trip through its XML form: canonical
// types (see above), dates in UTC with whole seconds, unrepresentable members
// of arrays and dictionaries left out. An unrepresentable value gives an
// invalid QVariant.
QVariant normalized(const QVariant& value);

// How many levels of arrays and dictionaries the value nests (0 for a
// scalar), counted no further than limit + 1, so that the answer for a
// deeper value is above limit however deep it goes.
int nestingOf(const QVariant& value, int limit);

// Whether two values are the same property-list value: same types and equal
// contents, compared deeply. Unlike QVariant's operator==, a bool never equals
// an integer and an integer never equals a real.
bool identical(const QVariant& a, const QVariant& b);

} // namespace platform::plist
