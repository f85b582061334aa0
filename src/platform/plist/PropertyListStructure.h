#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A look at the shape of property-list data before it is parsed. Parsing,
// converting, writing and freeing a property list all recurse once per level
// of nesting, and a binary list may refer to one container from many places,
// so that a small file stands for a huge tree. Data that is nested too deeply
// or that unfolds into too many values is refused before any of that starts.
namespace platform::plist {

// The most levels of arrays and dictionaries inside one another that are
// read; the top-level container is the first level.
constexpr int MaximumNesting = 64;
// The most values a binary list may unfold into once shared references are
// followed: eight per object it holds, and never fewer than this many. What
// unfolds further is refused (a 200-byte list can stand for 2^30 values).
constexpr quint64 MinimumBinaryValueLimit = 1u << 16;

// Why the data (XML or binary) is refused, or nothing when it may be parsed.
// The check itself is iterative and takes time and memory linear in the size
// of the data. Data that is not a property list at all is left to the parser.
std::optional<QString> structureProblem(const QByteArray& data);

} // namespace platform::plist
