#include "search/SearchText.h"

namespace SearchText {

QString sanitizedTitle(const QString& title)
{
    QString clean;
    clean.reserve(std::min(title.size(), MaximumTitleLength + 1));
    bool lastWasSpace = false;
    for (const QChar c : title) {
        const QChar::Category category = c.category();
        const bool space = c.isSpace() || category == QChar::Other_Control ||
                           category == QChar::Other_Format || category == QChar::Separator_Line ||
                           category == QChar::Separator_Paragraph;
        if (space) {
            if (!lastWasSpace && !clean.isEmpty()) {
                clean.append(u' ');
            }
            lastWasSpace = true;
            continue;
        }
        lastWasSpace = false;
        clean.append(c);
        if (clean.size() > MaximumTitleLength) {
            break;
        }
    }
    if (clean.size() > MaximumTitleLength) {
        clean.truncate(MaximumTitleLength - 1);
        // Never leave half a surrogate pair before the ellipsis.
        if (!clean.isEmpty() && clean.back().isHighSurrogate()) {
            clean.chop(1);
        }
        clean = clean.trimmed() + QChar(0x2026);
    }
    return clean.trimmed();
}

QString folded(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing) {
            kept.append(c);
        }
    }
    return kept.toCaseFolded();
}

} // namespace SearchText
