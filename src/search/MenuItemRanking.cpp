#include "search/MenuItemRanking.h"

#include "search/SearchText.h"

#include <algorithm>

namespace {

// Points per matched letter.
constexpr int WordStartPoints = 10;
constexpr int RunPoints = 8;
constexpr int InsidePoints = 1;
// Points when a whole word of the query lies in the item's own title, not
// only in the names of the menus above it.
constexpr int TitlePoints = 12;
// Points lost when a word matches only before the previous word's match.
constexpr int OutOfOrderPenalty = 6;

bool isWordStart(QStringView text, qsizetype position)
{
    return position == 0 || !text.at(position - 1).isLetterOrNumber();
}

// Matches one word of the query from position from on; the score of the
// match or -1. end receives the position after the last matched letter,
// first the position of the first.
int matchWord(QStringView text, QStringView word, qsizetype from, qsizetype& first, qsizetype& end)
{
    int points = 0;
    qsizetype previous = -2;
    qsizetype position = from;
    first = -1;
    for (const QChar letter : word) {
        qsizetype chosen = -1;
        if (previous >= 0 && previous + 1 < text.size() && text.at(previous + 1) == letter) {
            chosen = previous + 1;
            points += RunPoints;
        } else {
            const qsizetype next = text.indexOf(letter, position);
            if (next < 0) {
                return -1;
            }
            // A later word start beats an earlier letter inside a word.
            qsizetype start = next;
            while (start >= 0 && !isWordStart(text, start)) {
                start = text.indexOf(letter, start + 1);
            }
            if (start >= 0) {
                chosen = start;
                points += WordStartPoints;
            } else {
                chosen = next;
                points += InsidePoints;
            }
        }
        if (first < 0) {
            first = chosen;
        }
        previous = chosen;
        position = chosen + 1;
    }
    end = position;
    return points;
}

} // namespace

void MenuItemRanking::setItems(const QList<QStringList>& paths)
{
    m_entries.clear();
    m_entries.reserve(paths.size());
    for (const QStringList& path : paths) {
        Entry entry;
        QStringList clean;
        clean.reserve(path.size());
        for (const QString& title : path) {
            clean.append(SearchText::folded(SearchText::sanitizedTitle(title)));
        }
        const QString title = clean.isEmpty() ? QString() : clean.takeLast();
        entry.text = clean.join(u' ');
        if (!entry.text.isEmpty()) {
            entry.text.append(u' ');
        }
        entry.titleStart = entry.text.size();
        entry.text.append(title);
        m_entries.append(entry);
    }
}

void MenuItemRanking::setBoost(qsizetype index, int points)
{
    if (index >= 0 && index < m_entries.size()) {
        m_entries[index].boost = points;
    }
}

int MenuItemRanking::score(const Entry& entry, const QStringList& words)
{
    int total = 0;
    qsizetype from = 0;
    for (const QString& word : words) {
        qsizetype first = 0;
        qsizetype end = 0;
        int points = matchWord(entry.text, word, from, first, end);
        if (points < 0) {
            points = matchWord(entry.text, word, 0, first, end);
            if (points < 0) {
                return -1;
            }
            points -= OutOfOrderPenalty;
        }
        if (first >= entry.titleStart) {
            points += TitlePoints;
        } else if (from < entry.titleStart) {
            // The word may also lie wholly in the title, which counts for more
            // than its letters in the menus above.
            qsizetype titleFirst = 0;
            qsizetype titleEnd = 0;
            const int titlePoints =
                matchWord(entry.text, word, entry.titleStart, titleFirst, titleEnd);
            if (titlePoints >= 0 && titlePoints + TitlePoints > points) {
                points = titlePoints + TitlePoints;
                end = titleEnd;
            }
        }
        total += points;
        from = end;
    }
    return std::max(total, 0) + entry.boost;
}

QList<MenuItemRanking::Match> MenuItemRanking::rank(const QString& query, qsizetype limit) const
{
    const QStringList words =
        SearchText::folded(query).simplified().split(u' ', Qt::SkipEmptyParts);
    QList<Match> matches;
    if (words.isEmpty() || limit <= 0) {
        return matches;
    }
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const int points = score(m_entries.at(i), words);
        if (points >= 0) {
            matches.append({i, points});
        }
    }
    const auto better = [this](const Match& a, const Match& b) {
        if (a.score != b.score) {
            return a.score > b.score;
        }
        const qsizetype lengthA = m_entries.at(a.index).text.size();
        const qsizetype lengthB = m_entries.at(b.index).text.size();
        return lengthA != lengthB ? lengthA < lengthB : a.index < b.index;
    };
    const qsizetype kept = std::min(limit, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + kept, matches.end(), better);
    matches.resize(kept);
    return matches;
}
