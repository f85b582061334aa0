#pragma once

#include <QString>

namespace SearchText {

// The longest title shown; longer ones are cut and end in an ellipsis.
inline constexpr qsizetype MaximumTitleLength = 200;

// A title as it can be shown on one line: control characters (line breaks,
// tabs, escapes) become spaces, runs of spaces one space, and a title longer
// than MaximumTitleLength is cut with an ellipsis.
QString sanitizedTitle(const QString& title);

// The text compared by searches: compatibility-decomposed, combining marks
// dropped, case-folded ("Émile" and "emile" compare equal, "ﬁle" and "file").
QString folded(const QString& text);

} // namespace SearchText
