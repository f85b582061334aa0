#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

// Where the log view's cursor belongs after a redraw replaced its text, so
// that find goes on from its last match instead of starting over.
namespace ILRLogFindPlace {

// A cursor in document for one that had anchor and position (and selected
// selectedText) in the text before: the same selection when the same text
// stands there; else the nearest occurrence of that text from there on, then
// before it (entries above it changed); else the same position, within the
// new text, without a selection.
QTextCursor cursorAt(QTextDocument& document, int anchor, int position,
                     const QString& selectedText);

} // namespace ILRLogFindPlace
