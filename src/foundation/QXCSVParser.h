#pragma once

#include "foundation/CSVScanner.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace QXCSVParser {

// The settings key that can name another default field separator.
inline constexpr auto defaultFieldSeparatorKey = "QXCSVParser: Default Field Separator";

// The field separator used when none is given: "," unless the setting holds a
// string that is not empty after trimming, then that trimmed string. Read once,
// on first use; later changes of the setting take effect at the next start.
QString defaultFieldSeparator();

// For tests: fixes the default field separator, or with nothing makes the next
// use read the setting again.
void setDefaultFieldSeparatorForTesting(std::optional<QString> separator);

} // namespace QXCSVParser

// The trimmed, non-empty values of a list setting: fields separated by the
// separator (the default field separator when it is empty) or by line breaks.
// When the scan finds no value, or a quote is never closed, the whole text
// trimmed of white space, line breaks and the separator's characters is the
// one value; nothing when that is empty too, or when the text is empty.
std::optional<QStringList> QXArrayFromCSVString(const QString& text,
                                                const QString& separator = QString());
