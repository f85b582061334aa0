#include "help/QXHelpPageParser.h"

#include "help/QXHelpStringExtension.h"
#include "platform/files/RegularFile.h"
#include "platform/log/SystemLog.h"

#include <QFile>
#include <QSet>
#include <QStringConverter>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <limits>

namespace QXHelpPageParser {

namespace {

const QString bodyTag = QStringLiteral("<body>");
const QString commentStart = QStringLiteral("<!--");
const QString commentEnd = QStringLiteral("-->");
const QString anchorStart = QStringLiteral("<a name=\"");
const QString titleStart = QStringLiteral("<title>");
const QString titleEnd = QStringLiteral("</title>");
const QString indexMarker = QStringLiteral("<!--com.quirkworks.help.index[");
const QString quickAccessMarker = QStringLiteral("<!--com.quirkworks.help.quickaccess[");
const QString markerEnd = QStringLiteral("]-->");

bool separatesWordsSlowly(QChar c)
{
    if (c == QLatin1Char('-'))
        return false;
    return c.isSpace() || c.isPunct() || c.category() == QChar::Number_DecimalDigit;
}

// Most help text is ASCII: its answers come from a table.
bool separatesWords(QChar c)
{
    static const auto asciiTable = [] {
        std::array<bool, 128> table{};
        for (char16_t code = 0; code < 128; ++code)
            table[code] = separatesWordsSlowly(QChar(code));
        return table;
    }();
    return c.unicode() < 128 ? asciiTable[c.unicode()] : separatesWordsSlowly(c);
}

// First letter of each word upper case, the rest lower case; every character
// that is not a letter starts a new word.
QString capitalized(const QString& text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (const QChar c : text) {
        if (c.isLetter()) {
            result.append(wordStart ? c.toUpper() : c.toLower());
            wordStart = false;
        } else {
            result.append(c);
            wordStart = true;
        }
    }
    return result;
}

QXHelpPageRecord recordWithoutWords(const QString& relativePath)
{
    QXHelpPageRecord record;
    record.index = fallbackIndex(relativePath);
    record.path = relativePath;
    record.title = relativePath;
    return record;
}

} // namespace

QString fallbackIndex(const QString& relativePath)
{
    return QString::number(std::numeric_limits<qint64>::max()) + QLatin1Char('.') + relativePath;
}

QStringList wordsFromString(QStringView text)
{
    // Lower-casing first spares a string per repeated word. Lower case can
    // change the length of a few letters ("İ"); then each piece is lowered
    // by itself so that the length rule counts the characters as written.
    const QString lowered = text.toString().toLower();
    const bool sameLength = lowered.size() == text.size();
    const QStringView source = sameLength ? QStringView(lowered) : text;
    QStringList words;
    QSet<QStringView> seen;
    QSet<QString> seenLowered;
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i <= source.size(); ++i) {
        if (i < source.size() && !separatesWords(source[i]))
            continue;
        if (i - pieceStart >= 2) {
            const QStringView piece = source.sliced(pieceStart, i - pieceStart);
            if (sameLength) {
                if (!seen.contains(piece)) {
                    seen.insert(piece);
                    words.append(piece.toString());
                }
            } else if (QString word = piece.toString().toLower(); !seenLowered.contains(word)) {
                seenLowered.insert(word);
                words.append(std::move(word));
            }
        }
        pieceStart = i + 1;
    }
    return words;
}

QString commentFreeBody(QStringView html)
{
    const qsizetype body = QXExtension::helpManagerIndexOf(html, bodyTag);
    if (body < 0)
        return {};
    QString buffer;
    buffer.reserve(html.size() - body);
    qsizetype position = body;
    while (position < html.size()) {
        const qsizetype comment = QXExtension::helpManagerIndexOf(html, commentStart, position);
        if (comment < 0) {
            buffer.append(html.sliced(position));
            break;
        }
        buffer.append(html.sliced(position, comment - position));
        const qsizetype end =
            QXExtension::helpManagerIndexOf(html, commentEnd, comment + commentStart.size());
        if (end < 0)
            break;
        position = end + commentEnd.size();
    }
    return buffer;
}

QString visibleText(QStringView body)
{
    QString text;
    qsizetype position = 0;
    while (position < body.size()) {
        const qsizetype tag = body.indexOf(QLatin1Char('<'), position);
        const qsizetype runEnd = tag < 0 ? body.size() : tag;
        if (runEnd > position) {
            text.append(QLatin1Char(' '));
            text.append(body.sliced(position, runEnd - position));
        }
        if (tag < 0)
            break;
        const qsizetype tagEnd = body.indexOf(QLatin1Char('>'), tag + 1);
        if (tagEnd < 0)
            break;
        position = tagEnd + 1;
    }
    return text;
}

QString anchorDisplayName(const QString& displayPart)
{
    QString name = displayPart;
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    name.replace(QStringLiteral("=L="), QStringLiteral("==Lowercase"));
    name = capitalized(name.trimmed());
    name.remove(QStringLiteral("==Lowercase"));
    name.remove(QStringLiteral("=U="));
    return name;
}

QList<QXHelpAnchorRecord> anchors(const QString& relativePath, QStringView body)
{
    QList<QXHelpAnchorRecord> result;
    qsizetype position = 0;
    while (position < body.size()) {
        const qsizetype found = QXExtension::helpManagerIndexOf(body, anchorStart, position);
        if (found < 0)
            break;
        const qsizetype nameStart = found + anchorStart.size();
        qsizetype nameEnd = body.indexOf(QLatin1Char('"'), nameStart);
        if (nameEnd < 0)
            nameEnd = body.size();
        position = nameEnd + 1;
        const QString fragment = body.sliced(nameStart, nameEnd - nameStart).toString();
        if (fragment.isEmpty())
            break;
        if (fragment.endsWith(QLatin1String("_noindex"), Qt::CaseInsensitive))
            continue;

        QXHelpAnchorRecord anchor;
        anchor.path = relativePath;
        anchor.fragment = fragment;
        QString displayPart = fragment;
        if (const qsizetype close = fragment.indexOf(QLatin1Char(']')); close >= 0) {
            displayPart = fragment.sliced(close + 1);
            const QString beforeClose = fragment.first(close);
            const qsizetype open = beforeClose.indexOf(QLatin1Char('['));
            anchor.category = open < 0 ? beforeClose : beforeClose.sliced(open + 1);
        }
        anchor.name = anchorDisplayName(displayPart);
        anchor.sortString = QXExtension::helpManagerAnchorSortString(anchor.name);
        result.append(std::move(anchor));
    }
    return result;
}

QXHelpPageRecord pageRepresentation(const QString& relativePath, const QString& html)
{
    QXHelpPageRecord record = recordWithoutWords(relativePath);
    const QString body = commentFreeBody(html);
    record.text = visibleText(body);
    record.words = wordsFromString(record.text);
    if (record.words.isEmpty())
        return record;

    record.anchors = anchors(relativePath, body);
    const std::optional<QString> title =
        QXExtension::helpManagerContentBetweenPrefix(html, titleStart, titleEnd);
    if (title && !title->isEmpty())
        record.title = *title;
    const std::optional<QString> index =
        QXExtension::helpManagerContentBetweenPrefix(html, indexMarker, markerEnd);
    if (index && !index->isEmpty())
        record.index = *index;
    if (const std::optional<QString> names =
            QXExtension::helpManagerContentBetweenPrefix(html, quickAccessMarker, markerEnd)) {
        record.quickAccess = names->split(QLatin1Char('|'), Qt::KeepEmptyParts);
    }
    return record;
}

QString decodedPage(const QByteArray& data)
{
    if (const std::optional<QStringConverter::Encoding> marked =
            QStringConverter::encodingForData(data)) {
        QStringDecoder decoder(*marked);
        return decoder.decode(data);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder declared = QStringDecoder::decoderForHtml(data);
    if (declared.isValid() && declared.name() != QLatin1String("UTF-8")) {
        QString declaredText = declared.decode(data);
        if (!declared.hasError())
            return declaredText;
    }
    // Text that holds valid multi-byte sequences is UTF-8 with a few stray
    // bytes (shown as replacement characters); anything else is taken as
    // Latin-1, which reads every byte.
    const bool hasUtf8Sequences = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x80 && c != QChar::ReplacementCharacter;
    });
    if (hasUtf8Sequences)
        return text;
    QStringDecoder latin1(QStringConverter::Latin1);
    return latin1.decode(data);
}

QXHelpPageRecord pageRepresentationForData(const QString& relativePath, const QByteArray& data)
{
    return pageRepresentation(relativePath, decodedPage(data));
}

QXHelpPageRecord pageRepresentationForFile(const QString& relativePath, const QString& filePath)
{
    // Only a regular file is opened: a named pipe in the book would hold the
    // index until a writer came.
    QString error;
    platform::RegularFile::Failure failure = platform::RegularFile::Failure::None;
    const std::optional<QByteArray> data =
        platform::RegularFile::read(filePath, maximumPageSize, &error, &failure);
    if (failure == platform::RegularFile::Failure::TooLarge) {
        platform::systemLog(
            QStringLiteral("[QXHelpManager] help page %1 is too large to index").arg(filePath));
        return recordWithoutWords(relativePath);
    }
    if (!data) {
        platform::systemLog(
            QStringLiteral("[QXHelpManager] cannot read help page %1: %2").arg(filePath, error));
        return recordWithoutWords(relativePath);
    }
    return pageRepresentationForData(relativePath, *data);
}

} // namespace QXHelpPageParser
