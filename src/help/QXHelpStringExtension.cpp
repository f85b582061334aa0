#include "help/QXHelpStringExtension.h"

#include <QStringList>

namespace QXExtension {

std::optional<QString> helpManagerContentBetweenPrefix(QStringView text, QStringView prefix,
                                                       QStringView suffix)
{
    qsizetype start = 0;
    if (!prefix.isEmpty()) {
        const qsizetype found = text.indexOf(prefix, 0, Qt::CaseInsensitive);
        if (found < 0)
            return std::nullopt;
        start = found + prefix.size();
    }
    qsizetype end = text.size();
    if (!suffix.isEmpty()) {
        end = text.indexOf(suffix, start, Qt::CaseInsensitive);
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
