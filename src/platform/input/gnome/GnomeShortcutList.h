#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform::GnomeShortcutList {

// The list of custom shortcut paths in GNOME's keyboard settings, as
// `gsettings get` prints a string array ("['/a/', '/b/']", "@as []"), read and
// written, and the edits Trovix makes to it. Reading refuses anything that is
// not a plain array of strings, so a value it cannot read is never written
// back changed.
std::optional<QStringList> parse(const QString& text);
QString format(const QStringList& paths);
// A GVariant string literal ('it\'s'), as gsettings takes string values.
QString quoted(const QString& text);

// The list with path added at its end, unchanged when it holds path already.
QStringList withPath(QStringList paths, const QString& path);
// The list without path; every other entry stays, in its order.
QStringList withoutPath(QStringList paths, const QString& path);

} // namespace platform::GnomeShortcutList
