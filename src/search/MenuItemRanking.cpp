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

} // namespace

// Matches one word of the query from position from on; the score of the
// match or -1. end receives the position after the last matched letter,
// first the position of the first.
int MenuItemRanking::matchWord(const Entry& entry, QStringView word, qsizetype from,
                               qsizetype& first, qsizetype& end)
{
    const QStringView text = entry.text;
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
            // A later word start beats an earlier letter inside a word.
            for (const quint16 start : entry.wordStarts) {
                if (start >= position && text.at(start) == letter) {
                    chosen = start;
                    break;
                }
            }
            if (chosen >= 0) {
                points += WordStartPoints;
            } else {
                chosen = text.indexOf(letter, position);
                if (chosen < 0) {
                    return -1;
                }
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

void MenuItemRanking::setItems(const QList<QStringList>& paths)
{
    m_entries.clear();
    addItems(paths);
}

void MenuItemRanking::addItems(const QList<QStringList>& paths)
{
    m_entries.reserve(m_entries.size() + paths.size());
    m_lastQuery.clear();
    m_lastMatches.clear();
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
        for (qsizetype i = 0; i < entry.text.size() && i <= 0xffff; ++i) {
            if (entry.text.at(i).isLetterOrNumber() && isWordStart(entry.text, i)) {
                entry.wordStarts.append(quint16(i));
            }
        }
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
        int points = matchWord(entry, word, from, first, end);
        if (points < 0) {
            points = matchWord(entry, word, 0, first, end);
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
            const int titlePoints = matchWord(entry, word, entry.titleStart, titleFirst, titleEnd);
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
    const QString folded = SearchText::folded(query).simplified();
    const QStringList words = folded.split(u' ', Qt::SkipEmptyParts);
    QList<Match> matches;
    if (words.isEmpty() || limit <= 0) {
        return matches;
    }
    // Typing on extends the query, and every item that matches the longer
    // query matched the shorter one: only those need comparing again.
    const bool narrowing = !m_lastQuery.isEmpty() && folded.startsWith(m_lastQuery);
    QList<qsizetype> candidates;
    if (narrowing) {
        candidates.swap(m_lastMatches);
    }
    m_lastMatches.clear();
    const qsizetype count = narrowing ? candidates.size() : m_entries.size();
    for (qsizetype c = 0; c < count; ++c) {
        const qsizetype i = narrowing ? candidates.at(c) : c;
        const int points = score(m_entries.at(i), words);
        if (points >= 0) {
            matches.append({i, points});
            m_lastMatches.append(i);
        }
    }
    m_lastQuery = folded;
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
