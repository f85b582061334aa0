#pragma once

#include <QString>

namespace platform {

// Compares two bundle versions the way appcast feeds expect: each version is
// split into runs of digits, runs of letters and separators; digit runs
// compare as numbers (so 1.10 is newer than 1.9, and 1.01 equals 1.1), letter
// runs as text. Where a number meets letters the number is newer (1.0 is newer
// than 1.0b1); where one version goes on after the other, it is newer unless
// what follows starts with letters (1.0.1 > 1.0, but 1.0 > 1.0b1).
// Answers -1 when a is older than b, 0 when they are the same, 1 when newer.
int compareVersions(const QString& a, const QString& b);

} // namespace platform
