#include "platform/updates/VersionComparison.h"

#include <QList>
#include <QStringView>

namespace platform {
namespace {

enum class PartType
{
    Number,
    Text,
    Separator
};

struct Part
{
    PartType type;
    QStringView text;
};

PartType typeOf(QChar c)
{
    if (c.isDigit() && c.unicode() < 128) {
        return PartType::Number;
    }
    if (c.isSpace() || c.isPunct()) {
        return PartType::Separator;
    }
    return PartType::Text;
}

QList<Part> splitVersion(QStringView version)
{
    QList<Part> parts;
    qsizetype start = 0;
    while (start < version.size()) {
        const PartType type = typeOf(version[start]);
        qsizetype end = start + 1;
        // Every separator stands alone; digits and letters form runs.
        if (type != PartType::Separator) {
            while (end < version.size() && typeOf(version[end]) == type) {
                ++end;
            }
        }
        parts.append({type, version.sliced(start, end - start)});
        start = end;
    }
    return parts;
}

// Digit runs of any length, compared without converting them to a number
// that could overflow.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0') {
        a = a.sliced(1);
    }
    while (b.size() > 1 && b.front() == u'0') {
        b = b.sliced(1);
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

int compareVersions(const QString& a, const QString& b)
{
    const QList<Part> partsA = splitVersion(a);
    const QList<Part> partsB = splitVersion(b);
    const qsizetype common = qMin(partsA.size(), partsB.size());
    for (qsizetype i = 0; i < common; ++i) {
        const Part& partA = partsA[i];
        const Part& partB = partsB[i];
        if (partA.type == partB.type) {
            int order = 0;
            if (partA.type == PartType::Number) {
                order = compareNumbers(partA.text, partB.text);
            } else if (partA.type == PartType::Text) {
                const int text = partA.text.compare(partB.text);
                order = text < 0 ? -1 : (text > 0 ? 1 : 0);
            }
            if (order != 0) {
                return order;
            }
            continue;
        }
        // Letters mark a pre-release: anything else is newer.
        if (partA.type == PartType::Text) {
            return -1;
        }
        if (partB.type == PartType::Text) {
            return 1;
        }
        // A number against a separator: the number is newer.
        return partA.type == PartType::Number ? 1 : -1;
    }
    if (partsA.size() == partsB.size()) {
        return 0;
    }
    const bool aIsLonger = partsA.size() > partsB.size();
    const Part& next = aIsLonger ? partsA[common] : partsB[common];
    const bool longerIsNewer = next.type != PartType::Text;
    return (aIsLonger == longerIsNewer) ? 1 : -1;
}

} // namespace platform
