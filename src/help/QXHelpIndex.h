#pragma once

#include "help/QXHelpPageRecord.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QThread;
class QXHelpIndexContents;

namespace platform {
class Bundle;
}

// Where the help book may be: the per-user override folder and the bundle's
// resources, with the book's folder name from the information keys.
struct QXHelpBookSource
{
    QString folderName;       // "com.quirkworks.QXHelpManager.HelpBookFolder", ..., "Help"
    QString overrideBasePath; // $XDG_DATA_HOME/<CFBundleName>; empty without a program name
    QString resourcePath;     // the bundle's Resources folder

    // The source described by the bundle's information keys, with the override
    // folder under dataHome (empty: $XDG_DATA_HOME, else ~/.local/share).
    static QXHelpBookSource fromBundle(const platform::Bundle& bundle,
                                       const QString& dataHome = {});
};

// The help book's pages read once into records, the order of the contents, the
// anchors grouped by quick-access category and the full-text search over them.
//
// Reading and indexing run once on a worker thread; everything else, the
// results included, belongs to the main thread. Until the index is ready the
// page table and record list are empty and searches answer at once with
// nothing, so no keystroke ever waits for the files.
class QXHelpIndex : public QObject
{
    Q_OBJECT

public:
    enum class Status
    {
        NotBuilt, // nothing asked for it yet
        Building, // the worker is reading the help book
        Ready,    // pages are indexed (possibly none: see hasPages())
    };

    // The index of the main bundle's help book.
    explicit QXHelpIndex(QObject* parent = nullptr);
    // The index of the book found through source, titled windowTitle (tests).
    QXHelpIndex(const QXHelpBookSource& source, const QString& windowTitle,
                QObject* parent = nullptr);
    ~QXHelpIndex() override;

    QXHelpIndex(const QXHelpIndex&) = delete;
    QXHelpIndex& operator=(const QXHelpIndex&) = delete;

    // The help book's name: the help window's title.
    QString windowTitle() const;
    // The help book name of bundle's information keys: "...HelpBookName",
    // else "CFBundleHelpBookName", else "<CFBundleName> Help" (localised).
    static QString windowTitleForBundle(const platform::Bundle& bundle);

    // --- Readiness -------------------------------------------------------

    Status status() const;
    bool isReady() const { return status() == Status::Ready; }

    // Starts reading the help book on a worker thread unless it is being read
    // or has been read with pages. A build that found no pages is tried again,
    // so a help book installed while the program runs is found next time.
    void build();

    // Calls callback on the main thread once the index is ready: at once when
    // it already is, else when the build it starts (see build()) finishes.
    // context (required, like a connection's) guards the call: the callback
    // is dropped when context is destroyed first.
    void whenReady(QObject* context, std::function<void()> callback);

    // Ready and the help book has at least one page. When it has none, the
    // reason has been logged and emptyReason() says it in the user's words.
    bool hasPages() const;
    QString emptyReason() const;

    // The help folder that was read (symbolic links resolved), or an empty
    // string when none was found or the index is not ready.
    QString helpFolderPath() const;

    // --- The index (empty until ready) -----------------------------------

    // Every page: relative path (URL form) -> file URL.
    QMap<QString, QUrl> pageURLsByRelativePath() const;
    // One record per page in contents order ("1" < "1.2" < "1.10" < "2" < ...,
    // unmarked pages last, by path).
    const QList<QXHelpPageRecord>& pageRepresentations() const;
    // Position of the page in pageRepresentations(), if it is a page.
    std::optional<qsizetype> indexOfPage(const QString& relativePath) const;
    // The record of a page, or nullptr.
    const QXHelpPageRecord* pageRepresentation(const QString& relativePath) const;

    // The file URL of a relative path, or an empty URL when it is not a page
    // of the book (paths leading out of the book are never pages).
    QUrl urlForRelativePath(const QString& relativePath) const;
    // The relative path of a page's file URL (a fragment is ignored), or an
    // empty string when the URL is not a page of the book.
    QString relativePathForURL(const QUrl& url) const;

    // Anchors with a category, grouped by category and sorted by sort string
    // (numeric), shorter name first on a tie, repeated names removed. Built on
    // first use, then kept.
    const QMap<QString, QList<QXHelpAnchorRecord>>& anchorsByCategory() const;

    // --- Search ----------------------------------------------------------

    // Pages in contents order whose words contain every word of searchString
    // (case, accents and width folded: "cle" finds "Clé", "key" finds
    // "hotkeys"). resultLimit 0 means no limit. When a matching page has the
    // path abortIfFoundForRelativePath and its text contains the whole search
    // string, the result is empty.
    QList<QXHelpSearchItem>
    itemsWithSearchString(const QString& searchString, qsizetype resultLimit = 0,
                          const QString& abortIfFoundForRelativePath = {}) const;
    // The same search answering page titles only.
    QStringList titlesWithSearchString(const QString& searchString, qsizetype resultLimit = 0,
                                       const QString& abortIfFoundForRelativePath = {}) const;

    // The find field's completions for query while currentRelativePath is
    // shown. Never waits: before the index is ready, titles is empty and
    // searching is true (the window may say so; ready() follows the build
    // that build() or whenReady() started when the window opened).
    struct Suggestions
    {
        QStringList titles;
        bool searching = false;
    };
    Suggestions searchSuggestionsForQuery(const QString& query,
                                          const QString& currentRelativePath) const;

    // The page to open for a chosen completion: the first page titled
    // chosenTitle that matches the find field's whole string, with the query's
    // words to highlight. Empty when there is none (or the index is not ready).
    std::optional<QXHelpSearchItem> selectSearchSuggestion(const QString& chosenTitle,
                                                           const QString& searchString) const;

    // The distinct words of text: split at whitespace, punctuation and digits
    // ("-" stays inside words), pieces of 2 or more characters, lower case, in
    // order of first appearance. Serves pages and queries alike.
    static QStringList wordsFromString(const QString& text);

Q_SIGNALS:
    // The build finished and the index is ready (emitted on the main thread).
    void ready();

private:
    void startWorker();
    void adopt(std::unique_ptr<QXHelpIndexContents> contents);

    QXHelpBookSource m_source;
    QString m_windowTitle;
    Status m_status = Status::NotBuilt;
    std::unique_ptr<QXHelpIndexContents> m_contents;
    mutable std::optional<QMap<QString, QList<QXHelpAnchorRecord>>> m_anchorsByCategory;
    QThread* m_worker = nullptr;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_waiting;
};
