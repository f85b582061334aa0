#include "help/QXHelpStringExtension.h"

#include <QStringList>

namespace QXExtension {

qsizetype helpManagerIndexOf(QStringView text, QStringView keyword, qsizetype from)
{
    if (keyword.isEmpty() || keyword.front().toLower() != keyword.front().toUpper())
        return text.indexOf(keyword, from, Qt::CaseInsensitive);
    const QChar first = keyword.front();
    while (from >= 0 && from < text.size()) {
        const qsizetype found = text.indexOf(first, from);
        if (found < 0)
            return -1;
        if (text.sliced(found).startsWith(keyword, Qt::CaseInsensitive))
            return found;
        from = found + 1;
    }
    return -1;
}

std::optional<QString> helpManagerContentBetweenPrefix(QStringView text, QStringView prefix,
                                                       QStringView suffix)
{
    qsizetype start = 0;
    if (!prefix.isEmpty()) {
        const qsizetype found = helpManagerIndexOf(text, prefix);
        if (found < 0)
            return std::nullopt;
        start = found + prefix.size();
    }
    qsizetype end = text.size();
    if (!suffix.isEmpty()) {
        end = helpManagerIndexOf(text, suffix, start);
        if (end < 0)
            return std::nullopt;
    }
    return text.sliced(start, end - start).toString();
}

QString helpManagerAnchorSortString(const QString& displayName)
{
    QStringList pieces;
    qsizetype pieceStart = 0;
    bool hasPunctuation = false;
    for (qsizetype i = 0; i <= displayName.size(); ++i) {
        if (i < displayName.size() && !displayName[i].isPunct())
            continue;
        hasPunctuation = hasPunctuation || i < displayName.size();
        const QString piece = displayName.sliced(pieceStart, i - pieceStart).trimmed();
        if (!piece.isEmpty())
            pieces.append(piece);
        pieceStart = i + 1;
    }
    return hasPunctuation ? pieces.join(QLatin1Char(' ')) : displayName;
}

} // namespace QXExtension
