#include "logreader/ILRIntegratedLogReader.h"

#include "logreader/ILRIntegratedLogReaderDelegate.h"
#include "logreader/ILRIntegratedLogReaderState.h"
#include "logreader/ILRJSONLogStream.h"
#include "logreader/ILRLogWindow.h"
#include "platform/bundle/Bundle.h"
#include "platform/log/SystemLog.h"
#include "platform/logstore/JournalAccess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>
#include <QPushButton>
#include <QRecursiveMutex>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

namespace {

QString& toolPathOverride()
{
    static QString path;
    return path;
}

std::optional<bool>& systemLogReadableOverride()
{
    static std::optional<bool> readable;
    return readable;
}

enum class LogUnavailability
{
    None,
    NoTool,
    NoPermission,
};

LogUnavailability& logUnavailability()
{
    static LogUnavailability reason = LogUnavailability::None;
    return reason;
}

std::optional<bool>& canDisplayLogCache()
{
    static std::optional<bool> cache;
    return cache;
}

// Archive queries wait on the tool for their whole run; they get threads of
// their own so that they never hold up other work.
QThreadPool& queryPool()
{
    static QThreadPool* pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(4);
        return threads;
    }();
    return *pool;
}

// Inserts a batch that may be out of order into a sorted list: the batch is
// sorted and merged, so a long list is not sorted again from scratch.
void mergeSorted(EntryList& list, const EntryList& batch)
{
    const qsizetype oldSize = list.size();
    list.append(batch);
    std::stable_sort(list.begin() + oldSize, list.end(), ILRLogEntryIsEarlier);
    if (oldSize > 0 && !ILRLogEntryIsEarlier(list.at(oldSize), list.at(oldSize - 1))) {
        return;
    }
    std::inplace_merge(list.begin(), list.begin() + oldSize, list.end(), ILRLogEntryIsEarlier);
}

// The line to show when the tool ended with STATUS: the first line it wrote
// to standard error, else its status.
QString toolFailure(int status, const QString& errorOutput)
{
    for (QString line : errorOutput.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        for (QChar& c : line) {
            if (c.category() == QChar::Other_Control) {
                c = u' ';
            }
        }
        return line.left(500);
    }
    return ILRIntegratedLogReader::tr("trovix-log ended with status %1").arg(status);
}

// Tells the window when a run of the tool for the list TOKEN fails.
ILRJSONLogStream::FinishHandler
failureReporter(const std::weak_ptr<ILRIntegratedLogReader::State>& weakState, const Token& token)
{
    return [weakState, token](int status, const QString& errorOutput) {
        const auto shared = weakState.lock();
        if (status == 0 || !shared) {
            return;
        }
        const QString message = toolFailure(status, errorOutput);
        platform::systemLog(QStringLiteral("[ILR] the log tool failed: %1").arg(message));
        QMutexLocker locker(&shared->lock);
        if (shared->entries != token) {
            return;
        }
        shared->post([token, message](ILRIntegratedLogReader& reader) {
            if (reader.hasCurrentList(token.get())) {
                reader.showToolError(message);
            }
        });
    };
}

void sortList(EntryList& list)
{
    if (!std::is_sorted(list.cbegin(), list.cend(), ILRLogEntryIsEarlier)) {
        std::stable_sort(list.begin(), list.end(), ILRLogEntryIsEarlier);
    }
}

} // namespace

ILRIntegratedLogReader::ILRIntegratedLogReader(QObject* parent)
    : QObject(parent), m_state(std::make_shared<State>())
{
    m_state->owner = this;
}

ILRIntegratedLogReader::~ILRIntegratedLogReader()
{
    reset();
    QMutexLocker locker(&m_state->lock);
    m_state->owner = nullptr;
}

ILRIntegratedLogReader& ILRIntegratedLogReader::QXLogReader()
{
    // Never destroyed: it owns windows, which must not outlive the
    // application object. Quitting stops its runs.
    static ILRIntegratedLogReader* reader = [] {
        auto* created = new ILRIntegratedLogReader;
        created->setDebugLoggingUserDefaultName(QStringLiteral("QXDebugLog"));
        if (QCoreApplication* application = QCoreApplication::instance()) {
            QObject::connect(application, &QCoreApplication::aboutToQuit, created,
                             [created] { created->reset(); });
        }
        return created;
    }();
    return *reader;
}

QString ILRIntegratedLogReader::logToolPath()
{
    if (!toolPathOverride().isEmpty()) {
        return toolPathOverride();
    }
    const platform::Bundle& bundle = platform::Bundle::main();
    if (bundle.isValid()) {
        return bundle.bundlePath() + QStringLiteral("/Contents/MacOS/trovix-log");
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/trovix-log");
}

void ILRIntegratedLogReader::setLogToolPath(const QString& path)
{
    toolPathOverride() = path;
    canDisplayLogCache().reset();
}

void ILRIntegratedLogReader::setSystemLogReadableForTesting(std::optional<bool> readable)
{
    systemLogReadableOverride() = readable;
    canDisplayLogCache().reset();
}

bool ILRIntegratedLogReader::canDisplayLog()
{
    // One real read of the journal, as the tool makes it: a journal folder
    // that can be listed may still hold nothing this user may read. Local
    // files only, read once per process.
    if (!canDisplayLogCache()) {
        const QFileInfo tool(logToolPath());
        if (!tool.isFile() || !tool.isExecutable()) {
            logUnavailability() = LogUnavailability::NoTool;
        } else if (systemLogReadableOverride()) {
            logUnavailability() = *systemLogReadableOverride() ? LogUnavailability::None
                                                               : LogUnavailability::NoPermission;
        } else {
            const platform::logstore::JournalAccess access =
                platform::logstore::checkJournalAccess();
            if (!access.readable) {
                platform::systemLog(QStringLiteral("[ILR] the system journal cannot be read: %1")
                                        .arg(access.reason));
            }
            logUnavailability() =
                access.readable ? LogUnavailability::None : LogUnavailability::NoPermission;
        }
        canDisplayLogCache() = logUnavailability() == LogUnavailability::None;
    }
    return *canDisplayLogCache();
}

QString ILRIntegratedLogReader::logNotSupportedText()
{
    canDisplayLog();
    switch (logUnavailability()) {
    case LogUnavailability::NoTool:
        return tr("Displaying the log requires the trovix-log tool in the application bundle.");
    case LogUnavailability::NoPermission:
        return tr("Displaying the log requires reading the system journal, which members of the "
                  "group \u201C%1\u201D may do. Ask an administrator to add you to that group, "
                  "then log in again.")
            .arg(platform::logstore::journalReaderGroup());
    case LogUnavailability::None:
        break;
    }
    return QString();
}

// Query ------------------------------------------------------------------------

QString ILRIntegratedLogReader::quotedPredicateText(const QString& text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            quoted += u'\\';
            quoted += c;
        } else if (c == u'\n') {
            quoted += QLatin1String("\\n");
        } else if (c == u'\t') {
            quoted += QLatin1String("\\t");
        } else if (c == u'\r') {
            quoted += QLatin1String("\\r");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            quoted += c;
        }
    }
    quoted += u'"';
    return quoted;
}

QString ILRIntegratedLogReader::defaultPredicate(qint64 level)
{
    QString bundleName = QFileInfo(platform::Bundle::main().bundlePath()).fileName();
    if (bundleName.isEmpty()) {
        bundleName = QStringLiteral("Trovix.app");
    }
    return defaultPredicate(level, bundleName);
}

QString ILRIntegratedLogReader::defaultPredicate(qint64 level, const QString& bundleName)
{
    // The folder name is quoted as the tool reads texts: a quote or a
    // backslash in it must not end the text or start an escape.
    const QString folder = quotedPredicateText(u'/' + bundleName + u'/');
    const QString application =
        QStringLiteral("(processImagePath CONTAINS %1) || (senderImagePath CONTAINS %1)")
            .arg(folder);
    if (level == 2) {
        return application;
    }
    return QStringLiteral("(eventType == \"logEvent\") && !(subsystem BEGINSWITH \"com.apple\") && "
                          "(%1) && !(senderImagePath ENDSWITH \"AggregateDictionary\") && "
                          "!(senderImagePath ENDSWITH \"/CFNetwork\")")
        .arg(application);
}

QStringList ILRIntegratedLogReader::liveStreamArguments() const
{
    QStringList arguments{QStringLiteral("stream"), QStringLiteral("--style"),
                          QStringLiteral("json")};
    if (!m_filteringPredicate.isEmpty()) {
        arguments << QStringLiteral("--predicate") << m_filteringPredicate;
    }
    arguments << QStringLiteral("--level");
    arguments << (m_filteringLevel == 1   ? QStringLiteral("info")
                  : m_filteringLevel == 2 ? QStringLiteral("debug")
                                          : QStringLiteral("default"));
    return arguments;
}

QStringList ILRIntegratedLogReader::archiveArguments() const
{
    QStringList arguments{QStringLiteral("show"), QStringLiteral("--style"),
                          QStringLiteral("json")};
    if (!m_filteringPredicate.isEmpty()) {
        arguments << QStringLiteral("--predicate") << m_filteringPredicate;
    }
    if (m_filteringLevel == 1) {
        arguments << QStringLiteral("--info");
    } else if (m_filteringLevel == 2) {
        arguments << QStringLiteral("--debug");
    }
    return arguments;
}

bool ILRIntegratedLogReader::updateQuerySettings()
{
    qint64 level = 0;
    if (m_delegate && m_delegate->respondsToFilteringLevel()) {
        level = m_delegate->filteringLevelForLogReader(*this);
    }
    std::optional<QString> predicate;
    if (m_delegate && m_delegate->respondsToFilteringPredicate()) {
        predicate = m_delegate->filteringPredicateForLogReader(*this);
    }
    const QString chosen = predicate.value_or(defaultPredicate(level));
    const bool changed = level != m_filteringLevel || chosen != m_filteringPredicate;
    m_filteringLevel = level;
    m_filteringPredicate = chosen;
    return changed;
}

qint64 ILRIntegratedLogReader::numberOfDays() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->numberOfDays;
}

QDateTime ILRIntegratedLogReader::updateDate() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->updateDate;
}

QList<ILRLogEntry> ILRIntegratedLogReader::logEntries() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->entries ? *m_state->entries : QList<ILRLogEntry>();
}

qsizetype ILRIntegratedLogReader::archiveInsertionIndex() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->archiveInsertionIndex;
}

bool ILRIntegratedLogReader::hasCurrentList(const void* list) const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->entries.get() == list;
}

bool ILRIntegratedLogReader::hasLogEntryList() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->entries != nullptr;
}

void ILRIntegratedLogReader::updateLogAfterIncreasingNumberOfDays(bool increase)
{
    const QString tool = logToolPath();
    const QStringList live = liveStreamArguments();
    QStringList archive = archiveArguments();
    const QDateTime start = QDateTime::currentDateTime();
    bool extending = false;
    qint64 days = 0;
    Token token;
    std::optional<qint64> firstDate;
    {
        QMutexLocker locker(&m_state->lock);
        State& state = *m_state;
        if (increase) {
            qint64& n = state.numberOfDays;
            n = n < 0 ? 0 : n == 0 ? 1 : n < 7 ? 7 : n + 7;
        }
        days = state.numberOfDays;
        archive << QStringLiteral("--last")
                << (days == 0 ? QStringLiteral("1h") : QStringLiteral("%1d").arg(days));
        state.updateDate = start;
        token = state.entries;
        extending = increase && token && !token->isEmpty();
        if (extending) {
            firstDate = token->constFirst().date();
        } else {
            token = state.newList();
            state.stopLiveStream();
            state.stopOneShots();
            state.archiveOpen = days >= 0;
        }
        state.archiveInsertionIndex = days < 0 ? -1 : 0;
        if (!state.liveStream) {
            std::weak_ptr<State> weakState = m_state;
            state.liveStream = ILRJSONLogStream::start(
                tool, live,
                [weakState, token](const QList<ILRLogEntry>& batch) {
                    const auto shared = weakState.lock();
                    if (!shared) {
                        return true;
                    }
                    QMutexLocker batchLocker(&shared->lock);
                    if (shared->entries != token) {
                        return true;
                    }
                    if (!shared->firstLiveStreamTimestamp) {
                        shared->firstLiveStreamTimestamp = batch.constFirst().date();
                    }
                    const EntryList fresh = shared->admittedLive(batch);
                    if (!fresh.isEmpty()) {
                        mergeSorted(*token, fresh);
                        shared->requestRender();
                    }
                    return true;
                },
                false, failureReporter(weakState, token));
            if (!state.liveStream) {
                platform::systemLog(QStringLiteral("[ILR] cannot run the log tool %1").arg(tool));
            } else {
                platform::systemDebugLog(
                    QStringLiteral("[ILR] live stream: %1").arg(live.join(u' ')));
            }
        }
    }
    if (!extending) {
        showToolError(QString());
    }
    updateDisplay();

    if (days < 0) {
        if (m_window && !m_window->findEarlierResultsButton()->isEnabled()) {
            setBusy(false);
        }
        return;
    }
    setBusy(true);

    std::shared_ptr<State> shared = m_state;
    queryPool().start([shared, token, tool, archive, start, firstDate, extending] {
        auto keepGoing = std::make_shared<std::atomic<bool>>(true);
        const auto handler = [shared, token, firstDate,
                              keepGoing](const QList<ILRLogEntry>& batch) {
            QMutexLocker locker(&shared->lock);
            if (!keepGoing->load()) {
                return false;
            }
            if (shared->entries != token) {
                *keepGoing = false;
                return false;
            }
            qsizetype& index = shared->archiveInsertionIndex;
            index = std::clamp<qsizetype>(index, 0, token->size());
            if (!firstDate) {
                shared->lastArchiveStreamTimestamp = batch.constLast().date();
                for (const ILRLogEntry& entry : batch) {
                    if (shared->admitArchive(entry)) {
                        token->insert(index++, entry);
                    }
                }
            } else {
                // Only entries older than the list's first: none of them can
                // be in the list already.
                for (const ILRLogEntry& entry : batch) {
                    if (entry.date() >= *firstDate) {
                        *keepGoing = false;
                        break;
                    }
                    token->insert(index++, entry);
                }
            }
            shared->requestRender();
            return keepGoing->load();
        };
        platform::systemDebugLog(QStringLiteral("[ILR] archive query: %1").arg(archive.join(u' ')));
        const auto stream =
            ILRJSONLogStream::start(tool, archive, handler, true, failureReporter(shared, token));
        if (stream) {
            {
                QMutexLocker locker(&shared->lock);
                if (shared->entries == token) {
                    shared->oneShots.push_back(stream);
                } else {
                    stream->terminate();
                }
            }
            stream->waitUntilExit();
            stream->terminate();
        } else {
            platform::systemLog(QStringLiteral("[ILR] cannot run the log tool %1").arg(tool));
        }

        QMutexLocker locker(&shared->lock);
        if (shared->entries == token) {
            sortList(*token);
            if (!firstDate) {
                shared->closeArchive();
            }
            shared->archiveInsertionIndex = -1;
            shared->requestRender();
        }
        shared->post([token, extending](ILRIntegratedLogReader& reader) {
            if (reader.m_state->entries == token) {
                reader.setBusy(false);
                if (!extending) {
                    reader.scheduleGapFill();
                }
            }
            Q_EMIT reader.archiveQueryFinished();
        });
    });
}

void ILRIntegratedLogReader::scheduleGapFill()
{
    std::shared_ptr<State> shared = m_state;
    const Token token = m_state->entries;
    const QString tool = logToolPath();
    QStringList archive = archiveArguments();
    const QDateTime start = updateDate();
    QTimer::singleShot(3000, this, [shared, token, tool, archive, start]() mutable {
        queryPool().start([shared, token, tool, archive, start]() mutable {
            qint64 minutes = 0;
            {
                QMutexLocker locker(&shared->lock);
                if (shared->entries != token) {
                    return;
                }
                minutes = start.secsTo(QDateTime::currentDateTime()) / 60 + 2;
            }
            if (minutes < 1) {
                return;
            }
            archive << QStringLiteral("--last") << QStringLiteral("%1m").arg(minutes);
            auto collected = std::make_shared<EntryList>();
            const auto stream = ILRJSONLogStream::start(
                tool, archive,
                [shared, token, collected](const QList<ILRLogEntry>& batch) {
                    collected->append(batch);
                    QMutexLocker locker(&shared->lock);
                    return shared->entries == token;
                },
                true, failureReporter(shared, token));
            if (!stream) {
                return;
            }
            {
                QMutexLocker locker(&shared->lock);
                shared->oneShots.push_back(stream);
            }
            stream->waitUntilExit();
            stream->terminate();
            if (collected->isEmpty()) {
                return;
            }
            QMutexLocker locker(&shared->lock);
            if (shared->entries != token) {
                return;
            }
            EntryList missing;
            for (const ILRLogEntry& entry : std::as_const(*collected)) {
                if (shared->firstLiveStreamTimestamp &&
                    entry.date() >= *shared->firstLiveStreamTimestamp) {
                    continue;
                }
                if (shared->lastArchiveStreamTimestamp &&
                    *shared->lastArchiveStreamTimestamp >= entry.date()) {
                    continue;
                }
                missing.append(entry);
            }
            if (!missing.isEmpty()) {
                mergeSorted(*token, missing);
                shared->requestRender();
            }
            shared->post(
                [](ILRIntegratedLogReader& reader) { Q_EMIT reader.archiveQueryFinished(); });
        });
    });
}

void ILRIntegratedLogReader::clear()
{
    {
        QMutexLocker locker(&m_state->lock);
        m_state->numberOfDays = -1;
    }
    updateLogAfterIncreasingNumberOfDays(false);
}

void ILRIntegratedLogReader::reset()
{
    QMutexLocker locker(&m_state->lock);
    m_state->entries.reset();
    m_state->forgetOverlap();
    m_state->stopLiveStream();
    m_state->stopOneShots();
    m_state->archiveInsertionIndex = -1;
}

void ILRIntegratedLogReader::windowWillClose()
{
    reset();
    {
        QMutexLocker locker(&m_state->lock);
        m_state->numberOfDays = 0;
        m_state->updateDate = QDateTime();
    }
    updateDisplay();
}

QStringList ILRIntegratedLogReader::hiddenPrefixes() const
{
    QMutexLocker locker(&m_state->lock);
    return m_state->hiddenPrefixes;
}

void ILRIntegratedLogReader::setHiddenPrefixes(const QStringList& prefixes)
{
    {
        QMutexLocker locker(&m_state->lock);
        m_state->hiddenPrefixes = prefixes;
    }
    QMetaObject::invokeMethod(
        this,
        [this] { Q_EMIT ILRNotificationCenter::defaultCenter().updateDisplayNotification(this); },
        Qt::QueuedConnection);
}

ILRLogSnapshot ILRIntegratedLogReader::snapshot() const
{
    ILRLogSnapshot snapshot;
    QMutexLocker locker(&m_state->lock);
    if (m_state->entries) {
        snapshot.entries = *m_state->entries;
    }
    snapshot.archiveInsertionIndex = m_state->archiveInsertionIndex;
    snapshot.numberOfDays = m_state->numberOfDays;
    snapshot.updateDate = m_state->updateDate;
    snapshot.hiddenPrefixes = m_state->hiddenPrefixes;
    return snapshot;
}

ILRNotificationCenter& ILRNotificationCenter::defaultCenter()
{
    static ILRNotificationCenter center;
    return center;
}
