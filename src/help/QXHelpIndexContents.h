#pragma once

#include "help/QXHelpPageRecord.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

struct QXHelpBookSource;

// A help book read into memory: its pages, their records in contents order and
// what the search compares. Built once on any thread, then used by one thread
// at a time (a page's folded text is kept once a search needed it).
class QXHelpIndexContents
{
public:
    // Locates the book of source and reads every page.
    static std::unique_ptr<QXHelpIndexContents> build(const QXHelpBookSource& source);
    // Contents of pages already read; records are put in contents order.
    static std::unique_ptr<QXHelpIndexContents> fromRecords(const QString& helpFolder,
                                                            QMap<QString, QUrl> pageURLs,
                                                            QList<QXHelpPageRecord> records);

    // Sorts records by index value (numeric order); equal values by path.
    static void sortInContentsOrder(QList<QXHelpPageRecord>& records);
    // Anchors with a category, walking records and anchors in order, grouped
    // by category, each list sorted and freed of repeated names.
    static QMap<QString, QList<QXHelpAnchorRecord>>
    groupAnchorsByCategory(const QList<QXHelpPageRecord>& records);

    const QString& helpFolder() const { return m_helpFolder; }
    const QMap<QString, QUrl>& pageURLs() const { return m_pageURLs; }
    const QList<QXHelpPageRecord>& records() const { return m_records; }
    std::optional<qsizetype> position(const QString& relativePath) const;
    QString relativePathForURL(const QUrl& url) const;

    // Positions in records() of the pages matching searchString (see
    // QXHelpIndex::itemsWithSearchString); queryWords receives its words.
    QList<qsizetype> search(const QString& searchString, qsizetype resultLimit,
                            const QString& abortIfFoundForRelativePath,
                            QStringList* queryWords = nullptr) const;

private:
    struct FoldedPage
    {
        QString words;                       // the page's folded words, one per line
        mutable std::optional<QString> text; // the page's folded text, once asked for
    };

    const QString& foldedText(qsizetype position) const;

    QString m_helpFolder;
    QMap<QString, QUrl> m_pageURLs;
    QList<QXHelpPageRecord> m_records;
    QHash<QString, qsizetype> m_positions;
    QHash<QString, QString> m_pathsByURL;
    std::vector<FoldedPage> m_folded;
};
