#include "logreader/ILRLogFindPlace.h"

#include <QTextDocument>
#include <algorithm>

namespace ILRLogFindPlace {

QTextCursor cursorAt(QTextDocument& document, int anchor, int position, const QString& selectedText)
{
    // The last position a cursor may take (after the last character).
    const int last = std::max(0, document.characterCount() - 1);
    QTextCursor cursor(&document);
    if (!selectedText.isEmpty()) {
        if (std::max(anchor, position) <= last) {
            cursor.setPosition(anchor);
            cursor.setPosition(position, QTextCursor::KeepAnchor);
            if (cursor.selectedText() == selectedText) {
                return cursor;
            }
        }
        const int from = std::clamp(std::min(anchor, position), 0, last);
        QTextCursor found = document.find(selectedText, from);
        if (found.isNull()) {
            found = document.find(selectedText, from, QTextDocument::FindBackward);
        }
        if (!found.isNull()) {
            return found;
        }
    }
    cursor.setPosition(std::clamp(position, 0, last));
    return cursor;
}

} // namespace ILRLogFindPlace
