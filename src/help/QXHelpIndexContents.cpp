#include "help/QXHelpIndexContents.h"

#include "help/QXHelpBookLocator.h"
#include "help/QXHelpIndex.h"
#include "help/QXHelpPageParser.h"
#include "help/QXHelpTextComparison.h"

#include <algorithm>

namespace {

QString urlKey(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery | QUrl::NormalizePathSegments)
        .toString(QUrl::FullyEncoded);
}

} // namespace

std::unique_ptr<QXHelpIndexContents> QXHelpIndexContents::build(const QXHelpBookSource& source)
{
    QXHelpBookLocator::Book book = QXHelpBookLocator::locate(source);
    QList<QXHelpPageRecord> records;
    records.reserve(book.pages.size());
    for (auto page = book.pages.cbegin(); page != book.pages.cend(); ++page)
        records.append(
            QXHelpPageParser::pageRepresentationForFile(page.key(), page.value().toLocalFile()));
    return fromRecords(book.folder, std::move(book.pages), std::move(records));
}

std::unique_ptr<QXHelpIndexContents>
QXHelpIndexContents::fromRecords(const QString& helpFolder, QMap<QString, QUrl> pageURLs,
                                 QList<QXHelpPageRecord> records)
{
    auto contents = std::make_unique<QXHelpIndexContents>();
    contents->m_helpFolder = helpFolder;
    contents->m_pageURLs = std::move(pageURLs);
    sortInContentsOrder(records);
    contents->m_records = std::move(records);
    contents->m_folded.reserve(contents->m_records.size());
    // Pages share most of their words: each distinct word is folded once.
    QHash<QString, QString> foldedWords;
    for (qsizetype i = 0; i < contents->m_records.size(); ++i) {
        const QXHelpPageRecord& record = contents->m_records[i];
        contents->m_positions.insert(record.path, i);
        QString folded;
        for (const QString& word : record.words) {
            auto known = foldedWords.constFind(word);
            if (known == foldedWords.cend())
                known = foldedWords.insert(word, QXHelpTextComparison::searchFolded(word));
            folded += *known;
            folded += QLatin1Char('\n');
        }
        contents->m_folded.push_back({std::move(folded), std::nullopt});
    }
    for (auto page = contents->m_pageURLs.cbegin(); page != contents->m_pageURLs.cend(); ++page)
        contents->m_pathsByURL.insert(urlKey(page.value()), page.key());
    return contents;
}

void QXHelpIndexContents::sortInContentsOrder(QList<QXHelpPageRecord>& records)
{
    std::sort(records.begin(), records.end(),
              [](const QXHelpPageRecord& a, const QXHelpPageRecord& b) {
                  if (const int order = QXHelpTextComparison::numericCompare(a.index, b.index))
                      return order < 0;
                  return a.path < b.path;
              });
}

QMap<QString, QList<QXHelpAnchorRecord>>
QXHelpIndexContents::groupAnchorsByCategory(const QList<QXHelpPageRecord>& records)
{
    QMap<QString, QList<QXHelpAnchorRecord>> groups;
    for (const QXHelpPageRecord& record : records) {
        for (const QXHelpAnchorRecord& anchor : record.anchors) {
            if (anchor.category)
                groups[*anchor.category].append(anchor);
        }
    }
    for (QList<QXHelpAnchorRecord>& anchors : groups) {
        // Stable, so that anchors the order cannot tell apart keep page order.
        std::stable_sort(anchors.begin(), anchors.end(),
                         [](const QXHelpAnchorRecord& a, const QXHelpAnchorRecord& b) {
                             if (const int order = QXHelpTextComparison::numericCompare(
                                     a.sortString, b.sortString))
                                 return order < 0;
                             if (a.name.size() != b.name.size())
                                 return a.name.size() < b.name.size();
                             return QXHelpTextComparison::numericCompare(a.name, b.name) < 0;
                         });
        const auto repeated =
            std::unique(anchors.begin(), anchors.end(),
                        [](const QXHelpAnchorRecord& a, const QXHelpAnchorRecord& b) {
                            return a.name == b.name;
                        });
        anchors.erase(repeated, anchors.end());
    }
    return groups;
}

std::optional<qsizetype> QXHelpIndexContents::position(const QString& relativePath) const
{
    const auto found = m_positions.constFind(relativePath);
    if (found == m_positions.cend())
        return std::nullopt;
    return *found;
}

const QString& QXHelpIndexContents::foldedText(qsizetype position) const
{
    const FoldedPage& page = m_folded[size_t(position)];
    if (!page.text)
        page.text = QXHelpTextComparison::searchFolded(m_records[position].text);
    return *page.text;
}

QString QXHelpIndexContents::relativePathForURL(const QUrl& url) const
{
    return m_pathsByURL.value(urlKey(url));
}

QList<qsizetype> QXHelpIndexContents::search(const QString& searchString, qsizetype resultLimit,
                                             const QString& abortIfFoundForRelativePath,
                                             QStringList* queryWords) const
{
    const QStringList words = QXHelpPageParser::wordsFromString(searchString);
    if (queryWords)
        *queryWords = words;
    QList<qsizetype> found;
    if (words.isEmpty())
        return found;
    QStringList foldedWords;
    for (const QString& word : words)
        foldedWords.append(QXHelpTextComparison::searchFolded(word));
    std::optional<QString> foldedSearchString;

    for (qsizetype i = 0; i < m_records.size(); ++i) {
        const FoldedPage& page = m_folded[size_t(i)];
        const bool matches =
            std::all_of(foldedWords.cbegin(), foldedWords.cend(),
                        [&page](const QString& word) { return page.words.contains(word); });
        if (!matches)
            continue;
        if (!abortIfFoundForRelativePath.isEmpty() &&
            m_records[i].path == abortIfFoundForRelativePath) {
            if (!foldedSearchString)
                foldedSearchString = QXHelpTextComparison::searchFolded(searchString);
            if (foldedText(i).contains(*foldedSearchString))
                return {};
        }
        found.append(i);
        if (resultLimit > 0 && found.size() >= resultLimit)
            break;
    }
    return found;
}
