#include "foundation/QXCSVParser.h"

#include "foundation/CharacterSets.h"
#include "foundation/QXExtension.h"
#include "platform/defaults/UserDefaults.h"

#include <QMutex>
#include <QMutexLocker>

namespace QXCSVParser {
namespace {

QMutex& separatorMutex()
{
    static QMutex mutex;
    return mutex;
}

std::optional<QString>& cachedSeparator()
{
    static std::optional<QString> separator;
    return separator;
}

QString readDefaultFieldSeparator()
{
    const QString configured =
        QXExtension::trimmedString(platform::UserDefaults::standard().stringForKey(
            QString::fromLatin1(defaultFieldSeparatorKey)));
    return configured.isEmpty() ? QStringLiteral(",") : configured;
}

} // namespace

QString defaultFieldSeparator()
{
    QMutexLocker locker(&separatorMutex());
    std::optional<QString>& separator = cachedSeparator();
    if (!separator) {
        separator = readDefaultFieldSeparator();
    }
    return *separator;
}

void setDefaultFieldSeparatorForTesting(std::optional<QString> separator)
{
    QMutexLocker locker(&separatorMutex());
    cachedSeparator() = std::move(separator);
}

} // namespace QXCSVParser

std::optional<QStringList> QXArrayFromCSVString(const QString& text, const QString& separator)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QString fieldSeparator =
        separator.isEmpty() ? QXCSVParser::defaultFieldSeparator() : separator;
    const std::optional<QStringList> values =
        QXCSVParser::CSVScanner::CSVScannerWithString(text).scanCSVWithFieldSeparator(
            fieldSeparator, true);
    if (values && !values->isEmpty()) {
        return values;
    }

    // No value through the scanner: whatever is left after trimming is the one value.
    qsizetype first = 0;
    qsizetype end = text.size();
    const auto trimmable = [&](QChar character) {
        return CharacterSets::isWhiteSpaceOrLineBreak(character) ||
               fieldSeparator.contains(character);
    };
    while (first < end && trimmable(text.at(first))) {
        ++first;
    }
    while (end > first && trimmable(text.at(end - 1))) {
        --end;
    }
    if (end == first) {
        return std::nullopt;
    }
    return QStringList{text.mid(first, end - first)};
}
