#include "help/QXHelpIndex.h"

#include "foundation/QXLocalized.h"
#include "help/QXHelpIndexContents.h"
#include "help/QXHelpPageParser.h"
#include "platform/bundle/Bundle.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QThread>

namespace {

const QList<QXHelpPageRecord> noRecords;
const QMap<QString, QList<QXHelpAnchorRecord>> noAnchors;

} // namespace

QXHelpIndex::QXHelpIndex(QObject* parent)
    : QXHelpIndex(QXHelpBookSource::fromBundle(platform::Bundle::main()),
                  windowTitleForBundle(platform::Bundle::main()), parent)
{}

QXHelpIndex::QXHelpIndex(const QXHelpBookSource& source, const QString& windowTitle,
                         QObject* parent)
    : QObject(parent), m_source(source), m_windowTitle(windowTitle)
{}

QXHelpIndex::~QXHelpIndex()
{
    if (m_worker) {
        // The worker only reads files and owns its results until it hands them
        // over, so letting it finish is all that is needed.
        m_worker->disconnect(this);
        m_worker->wait();
        delete m_worker;
    }
}

QString QXHelpIndex::windowTitle() const
{
    return m_windowTitle;
}

QString QXHelpIndex::windowTitleForBundle(const platform::Bundle& bundle)
{
    for (const char* key : {"com.quirkworks.QXHelpManager.HelpBookName", "CFBundleHelpBookName"}) {
        const QString name = bundle.infoString(QString::fromLatin1(key));
        if (!name.isEmpty())
            return name;
    }
    return QXLocalized::tr("%1 Help").arg(bundle.infoString(QStringLiteral("CFBundleName")));
}

QXHelpIndex::Status QXHelpIndex::status() const
{
    return m_status;
}

void QXHelpIndex::build()
{
    if (m_status == Status::Building || (m_status == Status::Ready && hasPages()))
        return;
    startWorker();
}

void QXHelpIndex::whenReady(QObject* context, std::function<void()> callback)
{
    if (!callback)
        return;
    if (m_status == Status::Ready && hasPages()) {
        if (context)
            callback();
        return;
    }
    m_waiting.emplace_back(context, std::move(callback));
    build();
}

void QXHelpIndex::startWorker()
{
    m_status = Status::Building;
    auto result = std::make_shared<std::unique_ptr<QXHelpIndexContents>>();
    m_worker = QThread::create(
        [source = m_source, result] { *result = QXHelpIndexContents::build(source); });
    m_worker->setObjectName(QStringLiteral("help index"));
    connect(m_worker, &QThread::finished, this, [this, result] {
        // finished() is emitted as the thread's last act; deleteLater() lets it
        // return before the thread object goes.
        m_worker->deleteLater();
        m_worker = nullptr;
        adopt(std::move(*result));
    });
    m_worker->start(QThread::LowPriority);
}

void QXHelpIndex::adopt(std::unique_ptr<QXHelpIndexContents> contents)
{
    m_contents = std::move(contents);
    m_anchorsByCategory.reset();
    m_status = Status::Ready;
    if (!hasPages()) {
        platform::systemLog(m_contents && !m_contents->helpFolder().isEmpty()
                                ? QStringLiteral("[QXHelpManager] the help book at %1 has no pages")
                                      .arg(m_contents->helpFolder())
                                : QStringLiteral("[QXHelpManager] no help book \"%1\" found")
                                      .arg(m_source.folderName));
    }
    Q_EMIT ready();
    auto waiting = std::move(m_waiting);
    m_waiting.clear();
    for (auto& [context, callback] : waiting) {
        if (context)
            callback();
    }
}

bool QXHelpIndex::hasPages() const
{
    return m_status == Status::Ready && m_contents && !m_contents->records().isEmpty();
}

QString QXHelpIndex::emptyReason() const
{
    if (m_status != Status::Ready || hasPages())
        return {};
    if (m_contents && !m_contents->helpFolder().isEmpty())
        return QXLocalized::tr("The help book has no pages.");
    return QXLocalized::tr("The help book could not be found.");
}

QString QXHelpIndex::helpFolderPath() const
{
    return m_contents ? m_contents->helpFolder() : QString();
}

QMap<QString, QUrl> QXHelpIndex::pageURLsByRelativePath() const
{
    return m_contents ? m_contents->pageURLs() : QMap<QString, QUrl>();
}

const QList<QXHelpPageRecord>& QXHelpIndex::pageRepresentations() const
{
    return m_contents ? m_contents->records() : noRecords;
}

std::optional<qsizetype> QXHelpIndex::indexOfPage(const QString& relativePath) const
{
    return m_contents ? m_contents->position(relativePath) : std::nullopt;
}

const QXHelpPageRecord* QXHelpIndex::pageRepresentation(const QString& relativePath) const
{
    const std::optional<qsizetype> position = indexOfPage(relativePath);
    return position ? &m_contents->records()[*position] : nullptr;
}

QUrl QXHelpIndex::urlForRelativePath(const QString& relativePath) const
{
    return m_contents ? m_contents->pageURLs().value(relativePath) : QUrl();
}

QString QXHelpIndex::relativePathForURL(const QUrl& url) const
{
    return m_contents ? m_contents->relativePathForURL(url) : QString();
}

const QMap<QString, QList<QXHelpAnchorRecord>>& QXHelpIndex::anchorsByCategory() const
{
    if (!m_contents)
        return noAnchors;
    if (!m_anchorsByCategory)
        m_anchorsByCategory = QXHelpIndexContents::groupAnchorsByCategory(m_contents->records());
    return *m_anchorsByCategory;
}

QList<QXHelpSearchItem>
QXHelpIndex::itemsWithSearchString(const QString& searchString, qsizetype resultLimit,
                                   const QString& abortIfFoundForRelativePath) const
{
    QList<QXHelpSearchItem> items;
    if (!m_contents)
        return items;
    QStringList words;
    const QList<qsizetype> found =
        m_contents->search(searchString, resultLimit, abortIfFoundForRelativePath, &words);
    for (const qsizetype position : found) {
        const QXHelpPageRecord& record = m_contents->records()[position];
        items.append({record.title, record.path, words});
    }
    return items;
}

QStringList QXHelpIndex::titlesWithSearchString(const QString& searchString, qsizetype resultLimit,
                                                const QString& abortIfFoundForRelativePath) const
{
    QStringList titles;
    if (!m_contents)
        return titles;
    for (const qsizetype position :
         m_contents->search(searchString, resultLimit, abortIfFoundForRelativePath))
        titles.append(m_contents->records()[position].title);
    return titles;
}

QXHelpIndex::Suggestions
QXHelpIndex::searchSuggestionsForQuery(const QString& query,
                                       const QString& currentRelativePath) const
{
    if (m_status != Status::Ready)
        return {{}, true};
    return {titlesWithSearchString(query, 0, currentRelativePath), false};
}

std::optional<QXHelpSearchItem>
QXHelpIndex::selectSearchSuggestion(const QString& chosenTitle, const QString& searchString) const
{
    if (chosenTitle.isNull())
        return std::nullopt;
    for (const QXHelpSearchItem& item : itemsWithSearchString(searchString)) {
        if (item.title == chosenTitle)
            return item;
    }
    return std::nullopt;
}

QStringList QXHelpIndex::wordsFromString(const QString& text)
{
    return QXHelpPageParser::wordsFromString(text);
}
