#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// Property lists (XML and binary) bridged to QVariant through libplist:
// bool <-> QMetaType::Bool, integer <-> qlonglong (or qulonglong beyond the
// signed range), real <-> double, string <-> QString, date <-> QDateTime (UTC),
// data <-> QByteArray, array <-> QVariantList, dictionary <-> QVariantMap.
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

} // namespace platform::plist
