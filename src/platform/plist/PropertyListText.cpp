#include "platform/plist/PropertyListText.h"

#include <QDateTime>
#include <QLocale>
#include <QVariantList>
#include <QVariantMap>

namespace platform::plist {
namespace {

const QString indentUnit = QStringLiteral("    ");

bool needsQuotes(const QString& text)
{
    if (text.isEmpty()) {
        return true;
    }
    for (const QChar c : text) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'_' || c == u'$' || c == u'.' ||
                           c == u'/' || c == u':' || c == u'-';
        if (!plain) {
            return true;
        }
    }
    return false;
}

QString quoted(const QString& text)
{
    QString result;
    result.reserve(text.size() + 2);
    result += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            result += QStringLiteral("\\\"");
            break;
        case u'\\':
            result += QStringLiteral("\\\\");
            break;
        case u'\n':
            result += QStringLiteral("\\n");
            break;
        case u'\t':
            result += QStringLiteral("\\t");
            break;
        case u'\r':
            result += QStringLiteral("\\r");
            break;
        default:
            if (c.unicode() < 0x20) {
                result += QStringLiteral("\\U%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            } else {
                result += c;
            }
        }
    }
    result += u'"';
    return result;
}

QString quotedIfNeeded(const QString& text)
{
    return needsQuotes(text) ? quoted(text) : text;
}

QString dateText(const QDateTime& date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" +0000");
}

QString scalarText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDateTime:
        return dateText(value.toDateTime());
    case QMetaType::QByteArray:
        return u'<' + QString::fromLatin1(value.toByteArray().toHex()) + u'>';
    default:
        return value.toString();
    }
}

QString describe(const QVariant& value, int depth)
{
    const QString indent = indentUnit.repeated(depth);
    const QString inner = indentUnit.repeated(depth + 1);
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        QString text = QStringLiteral("{\n");
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            text += inner + quotedIfNeeded(it.key()) + QStringLiteral(" = ") +
                    describe(it.value(), depth + 1) + QStringLiteral(";\n");
        }
        return text + indent + u'}';
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        const QVariantList list = value.toList();
        QString text = QStringLiteral("(\n");
        for (qsizetype i = 0; i < list.size(); ++i) {
            text += inner + describe(list.at(i), depth + 1) +
                    (i + 1 < list.size() ? QStringLiteral(",\n") : QStringLiteral("\n"));
        }
        return text + indent + u')';
    }
    case QMetaType::QString:
        return quotedIfNeeded(value.toString());
    case QMetaType::QDateTime:
        return quoted(dateText(value.toDateTime()));
    default:
        return scalarText(value);
    }
}

} // namespace

QString toOldStyleText(const QVariant& value)
{
    return describe(value, 0);
}

QString toPlainText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return describe(value, 0);
    default:
        return scalarText(value);
    }
}

} // namespace platform::plist
