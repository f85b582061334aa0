#pragma once

#include <QByteArray>
#include <QString>

class QImage;
class QTextCursor;

// Appending to rich text at a cursor, each call answering whether something
// was appended.
namespace QXAttributedString {

// Pictures wider than this many pixels are shown scaled down to it.
constexpr int MaximumImageWidth = 128;

// Appends the picture held in contents (the bytes of an image file named
// fileName) as one character of its own. A non-zero offset raises (or, when
// negative, lowers) it from the baseline by that many points. False when
// contents are empty or not a picture Qt can read.
bool appendImageFileWrapper(QTextCursor& cursor, const QString& fileName,
                            const QByteArray& contents, int offset);

// Appends image as above, stored as a TIFF file named after name with ".tiff"
// appended ("Unknown.tiff" for an unnamed image). False for an image that
// cannot be written as TIFF (a null one, say).
bool appendImage(QTextCursor& cursor, const QImage& image, const QString& name, int offset);

// Appends text as it is, markup included. False for an empty string.
bool appendString(QTextCursor& cursor, const QString& text);

} // namespace QXAttributedString
