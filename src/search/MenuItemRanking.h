#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Ranks menu items against what the user typed. The letters of each typed
// word must occur in order in the item's path ("File New Window"); matches
// at the start of words and runs of consecutive letters score higher, so
// "nw" and "new win" both find "New Window" first. Matching ignores case and
// accents. Items the user pressed before may carry a boost.
class MenuItemRanking
{
public:
    struct Match
    {
        qsizetype index = 0; // in the items given to setItems
        int score = 0;
    };

    // The items as title paths, top-level menu first. Folding happens here,
    // once, so that ranking per keystroke only compares.
    void setItems(const QList<QStringList>& paths);
    // Appends items after those given before (menus that arrive later); the
    // next ranking compares every item again.
    void addItems(const QList<QStringList>& paths);
    qsizetype size() const { return m_entries.size(); }
    // Points added to the score of an item that matches (not to others).
    void setBoost(qsizetype index, int points);

    // The best matches, best first, at most limit of them; none for an empty
    // query. Equal scores keep the shorter path first, then the items' order.
    // A query that extends the previous one compares only the items that
    // matched it (so one ranking must not be shared between threads).
    QList<Match> rank(const QString& query, qsizetype limit) const;

private:
    struct Entry
    {
        QString text;         // folded path, components separated by a space
        qsizetype titleStart; // where the item's own title begins in text
        int boost = 0;
        QList<quint16> wordStarts; // positions in text where words begin
    };

    static int matchWord(const Entry& entry, QStringView word, qsizetype from, qsizetype& first,
                         qsizetype& end);
    static int score(const Entry& entry, const QStringList& words);

    QList<Entry> m_entries;
    // The previous query, folded, and every item that matched it.
    mutable QString m_lastQuery;
    mutable QList<qsizetype> m_lastMatches;
};
