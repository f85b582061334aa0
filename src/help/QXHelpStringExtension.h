#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// String operations of the help book's markup.
namespace QXExtension {

// The first position at or after from where keyword occurs, letter case
// ignored; -1 when it does not. Quick for markup keywords, which start with a
// character that has no case ("<", "]", "-"): only the places of that
// character are compared.
qsizetype helpManagerIndexOf(QStringView text, QStringView keyword, qsizetype from = 0);

// The text between the first occurrence of prefix and the first occurrence of
// suffix after it, both found regardless of letter case. An empty prefix means
// from the start, an empty suffix to the end; nothing when a non-empty prefix
// or suffix is missing.
std::optional<QString> helpManagerContentBetweenPrefix(QStringView text, QStringView prefix,
                                                       QStringView suffix);

// An anchor's sort string: a display name with punctuation is split at it, the
// pieces trimmed, empty ones dropped and the rest joined with single spaces
// ("Hot Keys: Basics" -> "Hot Keys Basics"); other names stay as they are.
QString helpManagerAnchorSortString(const QString& displayName);

} // namespace QXExtension
