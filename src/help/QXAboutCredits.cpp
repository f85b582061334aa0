#include "help/QXAboutCredits.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>

QXAboutCredits QXAboutCredits::fromText(const QString& text)
{
    // Every character that ends a line: LF, VT, FF, CR, NEL and the Unicode
    // line and paragraph separators. CR LF makes an empty line in between,
    // which is skipped like any other.
    static const QRegularExpression newline(
        QStringLiteral("[\\x{000A}-\\x{000D}\\x{0085}\\x{2028}\\x{2029}]"));
    static const QString suffixMark = QStringLiteral("=> ");

    QXAboutCredits credits;
    const QStringList lines = text.split(newline, Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(suffixMark)) {
            credits.copyrightSuffix = line.mid(suffixMark.size());
            if (credits.copyrightSuffix.isNull()) {
                credits.copyrightSuffix = QLatin1String("");
            }
        } else {
            credits.entries.append(line);
        }
    }
    return credits;
}

QXAboutCredits QXAboutCredits::fromFile(const QString& path)
{
    if (path.isEmpty()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize) {
        return {};
    }
    const QByteArray bytes = file.read(MaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaximumFileSize) {
        return {};
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return {};
    }
    return fromText(text);
}

QStringList QXAboutCredits::sortedEntries() const
{
    QStringList sorted = entries;
    if (sorted.size() < 2) {
        return sorted;
    }
    // The C locale collates by code point, without numbers by value; the
    // ordering people expect then comes from English.
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(sorted.begin(), sorted.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return sorted;
}
