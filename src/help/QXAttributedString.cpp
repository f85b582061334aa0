#include "help/QXAttributedString.h"

#include <QBuffer>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace QXAttributedString {
namespace {

// Resolution above which a picture is drawn at two pixels per point.
constexpr double HighResolutionDotsPerMeter = 100.0 / 0.0254;

} // namespace

bool appendImageFileWrapper(QTextCursor& cursor, const QString& fileName,
                            const QByteArray& contents, int offset)
{
    if (contents.isEmpty() || cursor.document() == nullptr) {
        return false;
    }
    const QImage image = QImage::fromData(contents);
    if (image.isNull()) {
        return false;
    }
    // Each picture gets a resource name of its own, so that two pictures with
    // the same file name do not replace each other in the document.
    const QUrl url(QStringLiteral("attachment:%1/%2")
                       .arg(cursor.document()->characterCount())
                       .arg(QString::fromUtf8(QUrl::toPercentEncoding(fileName))));
    cursor.document()->addResource(QTextDocument::ImageResource, url, image);

    const double scale = image.dotsPerMeterX() > HighResolutionDotsPerMeter ? 2.0 : 1.0;
    double width = image.width() / scale;
    double height = image.height() / scale;
    if (width > MaximumImageWidth) {
        height = height * MaximumImageWidth / width;
        width = MaximumImageWidth;
    }
    QTextImageFormat format;
    format.setName(url.toString());
    format.setWidth(width);
    format.setHeight(height);
    if (offset != 0) {
        // The baseline offset is a percentage of the font's height.
        const double pointSize = cursor.charFormat().font().pointSizeF();
        if (pointSize > 0) {
            format.setBaselineOffset(100.0 * offset / pointSize);
        }
    }
    cursor.insertImage(format);
    return true;
}

bool appendImage(QTextCursor& cursor, const QImage& image, const QString& name, int offset)
{
    if (image.isNull()) {
        return false;
    }
    QByteArray tiff;
    QBuffer buffer(&tiff);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "TIFF")) {
        return false;
    }
    const QString fileName =
        (name.isEmpty() ? QStringLiteral("Unknown") : name) + QStringLiteral(".tiff");
    return appendImageFileWrapper(cursor, fileName, tiff, offset);
}

bool appendString(QTextCursor& cursor, const QString& text)
{
    if (text.isEmpty()) {
        return false;
    }
    cursor.insertText(text);
    return true;
}

} // namespace QXAttributedString
