#include "help/QXHelpCommandLink.h"

#include "foundation/QXLocalized.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>
#include <limits>

const QString QXHelpCommandLink::Scheme = QStringLiteral("x-quirkworks-help");

namespace {

const QString MessageMarker = QStringLiteral("://message/");
const QString DefaultMarker = QStringLiteral("://default/");
const QString IntegerMarker = QStringLiteral("integer:");
const QString DoubleMarker = QStringLiteral("double:");

QXHelpCommandLink malformed(const QString& problem)
{
    QXHelpCommandLink link;
    link.problem = problem;
    return link;
}

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

// Leading whitespace, an optional sign and digits; 0 without digits, the
// nearest bound when the number does not fit.
qint64 leadingInteger(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return 0;
    }
    bool ok = false;
    const qint64 value = match.captured(1).toLongLong(&ok);
    if (ok) {
        return value;
    }
    return match.captured(1).startsWith(u'-') ? std::numeric_limits<qint64>::min()
                                              : std::numeric_limits<qint64>::max();
}

// Leading whitespace and a decimal number with an optional exponent; 0
// without one. Infinities and NaN are not numbers here.
double leadingDouble(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return 0.0;
    }
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QVariant valueFromText(const QString& raw)
{
    const QString lower = raw.toLower();
    if (lower == u"yes" || lower == u"true") {
        return true;
    }
    if (lower == u"no" || lower == u"false") {
        return false;
    }
    if (const qsizetype at = lower.indexOf(IntegerMarker); at >= 0) {
        const QString rest = raw.mid(at + IntegerMarker.size());
        return rest.isEmpty() ? QVariant(raw) : QVariant(leadingInteger(rest));
    }
    if (const qsizetype at = lower.indexOf(DoubleMarker); at >= 0) {
        const QString rest = raw.mid(at + DoubleMarker.size());
        return rest.isEmpty() ? QVariant(raw) : QVariant(leadingDouble(rest));
    }
    return raw;
}

} // namespace

std::optional<QString> QXHelpCommandLink::percentDecoded(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'%') {
            bytes.append(QString(c).toUtf8());
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexValue(text.at(i + 1));
        const int low = hexValue(text.at(i + 2));
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return decoded;
}

QXHelpCommandLink QXHelpCommandLink::parse(const QString& absoluteString)
{
    if (absoluteString.size() > MaximumLength) {
        return malformed(QStringLiteral("link longer than %1 characters").arg(MaximumLength));
    }
    if (const qsizetype at = absoluteString.indexOf(MessageMarker, 0, Qt::CaseInsensitive);
        at >= 0) {
        QXHelpCommandLink link;
        link.kind = Kind::Message;
        link.message = absoluteString.mid(at + MessageMarker.size());
        return link;
    }
    const qsizetype at = absoluteString.indexOf(DefaultMarker, 0, Qt::CaseInsensitive);
    if (at < 0) {
        return malformed(QStringLiteral("neither a message nor a default link"));
    }
    const qsizetype keyStart = at + DefaultMarker.size();
    const qsizetype hash = absoluteString.indexOf(u'#', keyStart);
    if (hash < 0) {
        return malformed(QStringLiteral("no \"#\" after the key"));
    }
    const std::optional<QString> key =
        percentDecoded(absoluteString.mid(keyStart, hash - keyStart));
    if (!key) {
        return malformed(QStringLiteral("bad percent escape in the key"));
    }
    if (key->trimmed().isEmpty()) {
        return malformed(QStringLiteral("empty key"));
    }
    const std::optional<QString> raw =
        percentDecoded(absoluteString.mid(absoluteString.indexOf(u'#') + 1));
    if (!raw) {
        return malformed(QStringLiteral("bad percent escape in the value"));
    }
    QXHelpCommandLink link;
    link.kind = Kind::Default;
    link.key = *key;
    if (!raw->isEmpty()) {
        link.value = valueFromText(*raw);
    }
    return link;
}

QString QXHelpCommandLink::describeValue(const std::optional<QVariant>& value)
{
    if (!value || !value->isValid()) {
        return QXLocalized::tr("(No Value)");
    }
    if (value->typeId() == QMetaType::Bool) {
        return value->toBool() ? QXLocalized::tr("Yes") : QXLocalized::tr("No");
    }
    if (value->canConvert<QString>()) {
        return value->toString();
    }
    return QString::fromLatin1(value->typeName());
}
