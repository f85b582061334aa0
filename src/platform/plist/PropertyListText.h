#pragma once

#include <QString>
#include <QVariant>

// The old-style text form of property-list values, as command-line tools
// print them for people to read:
//   {
//       "Key Code" = 49;
//       Name = Space;
//       List = (
//           1,
//           2.5
//       );
//   }
// Strings are quoted unless they are made only of letters, digits and
// "_$./:-"; bools print as 1 and 0, data as <0a1b>, dates as quoted
// "2001-01-01 00:00:00 +0000".
namespace platform::plist {

// The text form of any value, containers spread over indented lines.
QString toOldStyleText(const QVariant& value);

// A scalar as plain text: strings and dates without quotes or escapes, bools
// as 1 or 0. Containers give their old-style form.
QString toPlainText(const QVariant& value);

} // namespace platform::plist
