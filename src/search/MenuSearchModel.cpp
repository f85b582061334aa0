#include "search/MenuSearchModel.h"

#include "platform/accessibility/Accessibility.h"
#include "search/SearchText.h"

MenuSearchModel::MenuSearchModel(SearchHistory* history, QObject* parent)
    : QObject(parent), m_history(history)
{}

MenuSearchModel::~MenuSearchModel() = default;

QString MenuSearchModel::pathSeparator()
{
    return QStringLiteral(" \u203a ");
}

void MenuSearchModel::addApplication(qint64 pid, const QString& name,
                                     std::unique_ptr<platform::MenuTreeRead> read)
{
    if (!read) {
        return;
    }
    const qsizetype index = static_cast<qsizetype>(m_sources.size());
    platform::MenuTreeRead* reading = read.get();
    m_sources.push_back(Source{pid, name, std::move(read), true});
    connect(reading, &platform::MenuTreeRead::itemsAdded, this,
            [this, index](qsizetype first) { addItems(index, first); });
    connect(reading, &platform::MenuTreeRead::finished, this, [this, index] {
        Source& source = m_sources.at(std::size_t(index));
        source.answering = source.read->tree().complete;
        Q_EMIT changed();
    });
    // A read that had finished before it was handed over (a kept tree).
    if (!reading->tree().items.isEmpty()) {
        addItems(index, 0);
    }
    if (reading->isFinished()) {
        m_sources.back().answering = reading->tree().complete;
    }
}

void MenuSearchModel::addItems(qsizetype sourceIndex, qsizetype first)
{
    const Source& source = m_sources.at(std::size_t(sourceIndex));
    const QList<platform::MenuTreeItem>& items = source.read->tree().items;
    QList<QStringList> paths;
    const qsizetype firstCandidate = m_candidates.size();
    for (qsizetype i = first; i < items.size(); ++i) {
        const platform::MenuTreeItem& item = items.at(i);
        if (item.hidden) {
            continue;
        }
        QStringList clean;
        clean.reserve(item.path.size());
        for (const QString& title : item.path) {
            clean.append(SearchText::sanitizedTitle(title));
        }
        m_candidates.append(Candidate{sourceIndex, i, clean.join(pathSeparator()), std::nullopt});
        paths.append(item.path);
    }
    if (paths.isEmpty()) {
        return;
    }
    m_ranking.addItems(paths);
    if (m_history) {
        for (qsizetype c = firstCandidate; c < m_candidates.size(); ++c) {
            m_ranking.setBoost(c, m_history->boost(source.name, m_candidates.at(c).displayPath));
        }
    }
    rank();
    Q_EMIT changed();
}

void MenuSearchModel::setQuery(const QString& query)
{
    if (query == m_query) {
        return;
    }
    m_query = query;
    rank();
    Q_EMIT changed();
}

void MenuSearchModel::rank()
{
    m_results.clear();
    const QList<MenuItemRanking::Match> matches = m_ranking.rank(m_query, MaximumResults);
    const std::shared_ptr<void> readScope = m_readScope && m_keyReader ? m_readScope() : nullptr;
    for (const MenuItemRanking::Match& match : matches) {
        Candidate& candidate = m_candidates[match.index];
        Source& source = m_sources.at(std::size_t(candidate.source));
        const platform::MenuTreeItem& item = source.read->tree().items.at(candidate.item);
        if (!candidate.keyEquivalent && m_keyReader && source.answering) {
            const quint64 timedOut = platform::Accessibility::current().timedOutRequests();
            candidate.keyEquivalent = m_keyReader(item.element);
            source.answering = platform::Accessibility::current().timedOutRequests() == timedOut;
        }
        m_results.append(Result{item, source.name, source.pid, candidate.displayPath,
                                candidate.keyEquivalent.value_or(QString())});
    }
}

bool MenuSearchModel::isReading() const
{
    return m_awaitingApplications ||
           std::any_of(m_sources.cbegin(), m_sources.cend(),
                       [](const Source& source) { return !source.read->isFinished(); });
}

void MenuSearchModel::setAwaitingApplications(bool awaiting)
{
    if (awaiting != m_awaitingApplications) {
        m_awaitingApplications = awaiting;
        Q_EMIT changed();
    }
}

QStringList MenuSearchModel::stalledApplications() const
{
    QStringList names;
    for (const Source& source : m_sources) {
        if (source.read->isFinished() && !source.read->tree().complete) {
            names.append(source.name);
        }
    }
    return names;
}

void MenuSearchModel::recordPress(const Result& result)
{
    if (!m_history) {
        return;
    }
    // Read again first: the history may have been cleared while the search
    // was open, and what was cleared stays cleared.
    m_history->load();
    m_history->recordPress(result.application, result.displayPath);
    m_history->save();
}
