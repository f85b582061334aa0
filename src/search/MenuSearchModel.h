#pragma once

#include "platform/accessibility/MenuTreeRead.h"
#include "search/MenuItemRanking.h"
#include "search/SearchHistory.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What a search over open menus knows: the menu trees of one or more
// applications as they arrive, the text typed so far and the best matches
// for it. Trees are read while the search is open; every batch of items
// that arrives ranks again, so results grow as menus are read.
class MenuSearchModel : public QObject
{
    Q_OBJECT

public:
    // One menu item the search can offer.
    struct Result
    {
        platform::MenuTreeItem item;
        QString application;
        qint64 pid = 0;
        // "File › New Window", titles cleaned up for one line.
        QString displayPath;
        // The key equivalent as the menu shows it, read when the item is
        // first offered.
        QString keyEquivalent;
    };

    // Reads the key equivalent of a shown item; none reads nothing. Nothing
    // (rather than an empty text) when the item could not be asked, as past
    // its application's deadline: the next list of results asks again.
    using KeyEquivalentReader =
        std::function<std::optional<QString>(const platform::AccessibilityElement&)>;

    static constexpr qsizetype MaximumResults = 12;
    // The separator between the titles of a path.
    static QString pathSeparator();

    explicit MenuSearchModel(SearchHistory* history, QObject* parent = nullptr);
    ~MenuSearchModel() override;

    void setKeyEquivalentReader(KeyEquivalentReader reader) { m_keyReader = std::move(reader); }
    // Made while the key equivalents of one list of results are read, and
    // dropped after: the caller bounds what those reads may take.
    using ReadScope = std::function<std::shared_ptr<void>()>;
    void setResultReadScope(ReadScope scope) { m_readScope = std::move(scope); }

    // Adds an application whose tree read (started by the caller) feeds
    // the search; the model owns the read from now on.
    void addApplication(qint64 pid, const QString& name,
                        std::unique_ptr<platform::MenuTreeRead> read);

    QString query() const { return m_query; }
    void setQuery(const QString& query);

    // The best matches for the query, best first; none for an empty query.
    const QList<Result>& results() const { return m_results; }
    // Whether some tree is still being read, or the applications' reads
    // are still to come (see setAwaitingApplications()).
    bool isReading() const;
    // While set, the search counts as reading although no read was added
    // yet: the caller adds them shortly (a Return typed meanwhile then waits
    // for them instead of finding nothing).
    void setAwaitingApplications(bool awaiting);
    // The applications that stopped answering while their trees were read.
    QStringList stalledApplications() const;
    // Whether the search covers more than one application (results then
    // say which application they belong to).
    bool coversSeveralApplications() const { return m_sources.size() > 1; }
    // How many items can be searched so far.
    qsizetype itemCount() const { return m_candidates.size(); }

    // Notes in the history that the result was pressed.
    void recordPress(const Result& result);

Q_SIGNALS:
    // The results, the reading state or both changed.
    void changed();

private:
    struct Source
    {
        qint64 pid = 0;
        QString name;
        std::unique_ptr<platform::MenuTreeRead> read;
        // Key equivalents are not read from an application that stopped
        // answering: each would cost the timeout again.
        bool answering = true;
    };
    struct Candidate
    {
        qsizetype source = 0;
        qsizetype item = 0; // in the source's tree
        QString displayPath;
        std::optional<QString> keyEquivalent;
    };

    void addItems(qsizetype source, qsizetype first);
    void rank();

    SearchHistory* m_history;
    KeyEquivalentReader m_keyReader;
    ReadScope m_readScope;
    std::vector<Source> m_sources;
    QList<Candidate> m_candidates;
    MenuItemRanking m_ranking;
    QString m_query;
    QList<Result> m_results;
    bool m_awaitingApplications = false;
};
