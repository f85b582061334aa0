#include "platform/logstore/journald/JournalLogSource.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <systemd/sd-journal.h>

namespace platform::logstore {

namespace {

QString describe(int negativeErrno)
{
    return QString::fromLocal8Bit(std::strerror(-negativeErrno));
}

} // namespace

JournalLogSource::JournalLogSource(int stopFd, int watchedOutputFd)
    : m_stopFd(stopFd), m_watchedOutputFd(watchedOutputFd)
{}

JournalLogSource::~JournalLogSource()
{
    if (m_journal) {
        sd_journal_close(m_journal);
    }
}

bool JournalLogSource::open(QString* error)
{
    const int result = sd_journal_open(&m_journal, SD_JOURNAL_LOCAL_ONLY);
    if (result < 0) {
        m_journal = nullptr;
        *error = QStringLiteral("cannot open the system journal: ") % describe(result);
        return false;
    }
    // Whole values, however long: a message is never cut short.
    sd_journal_set_data_threshold(m_journal, 0);

    // sd-journal opens what it may and skips the rest silently; with no file
    // at all there is nothing to read, and the reason is worth telling.
    uint64_t bytes = 0;
    if (sd_journal_get_usage(m_journal, &bytes) >= 0 && bytes > 0) {
        return true;
    }
    sd_journal_close(m_journal);
    m_journal = nullptr;
    const bool running = QFileInfo::exists(QStringLiteral("/run/systemd/journal/socket"));
    if (!running) {
        *error = QStringLiteral("no system journal to read: systemd-journald is not running");
    } else {
        *error = QStringLiteral("no journal files could be read: this user may not read the "
                                "system journal (members of the groups \"systemd-journal\" "
                                "and \"adm\" may)");
    }
    return false;
}

qint64 JournalLogSource::now() const
{
    timespec time{};
    clock_gettime(CLOCK_REALTIME, &time);
    return qint64(time.tv_sec) * 1000000 + time.tv_nsec / 1000;
}

bool JournalLogSource::readCurrentEntry(const std::vector<QByteArray>* fields, QString* error)
{
    m_entry.clear();
    uint64_t realtime = 0;
    int result = sd_journal_get_realtime_usec(m_journal, &realtime);
    if (result < 0) {
        *error = QStringLiteral("cannot read the time of a journal entry: ") % describe(result);
        return false;
    }
    m_entry.setRealtime(qint64(realtime));
    const void* data = nullptr;
    size_t size = 0;
    if (fields) {
        for (const QByteArray& field : *fields) {
            if (sd_journal_get_data(m_journal, field.constData(), &data, &size) >= 0) {
                m_entry.addJournalField(
                    QByteArrayView(static_cast<const char*>(data), qsizetype(size)));
            }
        }
        return true;
    }
    while ((result = sd_journal_enumerate_available_data(m_journal, &data, &size)) > 0) {
        m_entry.addJournalField(QByteArrayView(static_cast<const char*>(data), qsizetype(size)));
    }
    sd_journal_restart_data(m_journal);
    if (result < 0) {
        *error = QStringLiteral("cannot read a journal entry: ") % describe(result);
        return false;
    }
    return true;
}

bool JournalLogSource::stopRequested() const
{
    pollfd stop = {m_stopFd, POLLIN, 0};
    return m_stopFd >= 0 && ::poll(&stop, 1, 0) > 0 && (stop.revents & (POLLIN | POLLHUP)) != 0;
}

bool JournalLogSource::readFrom(std::optional<qint64> since, const LogFilter& filter,
                                const Visitor& visit, QString* error)
{
    const int result = since ? sd_journal_seek_realtime_usec(m_journal, uint64_t(*since))
                             : sd_journal_seek_head(m_journal);
    if (result < 0) {
        *error = QStringLiteral("cannot seek in the system journal: ") % describe(result);
        return false;
    }
    bool stopped = false;
    return visitFollowing(filter, visit, &stopped, error) || stopped;
}

bool JournalLogSource::visitFollowing(const LogFilter& filter, const Visitor& visit, bool* stopped,
                                      QString* error)
{
    // Each entry is judged on the few fields the filter reads; only a match
    // pays for reading all of its fields.
    const std::vector<QByteArray> fieldsRead = filter.journalFieldsRead();
    int result;
    unsigned counter = 0;
    while ((result = sd_journal_next(m_journal)) > 0) {
        if (++counter % 256 == 0 && stopRequested()) {
            *stopped = true;
            return false;
        }
        if (!readCurrentEntry(&fieldsRead, error)) {
            return false;
        }
        if (!filter.matches(m_entry)) {
            continue;
        }
        if (!readCurrentEntry(nullptr, error)) {
            return false;
        }
        if (!visit(m_entry)) {
            *stopped = true;
            return false;
        }
    }
    if (result < 0) {
        *error = QStringLiteral("cannot read the system journal: ") % describe(result);
        return false;
    }
    return true;
}

bool JournalLogSource::follow(const LogFilter& filter, const Visitor& visit, const Idle& idle,
                              QString* error)
{
    // Start behind the newest entry, so only entries written from now on come.
    int result = sd_journal_seek_tail(m_journal);
    if (result >= 0) {
        result = sd_journal_previous(m_journal);
    }
    if (result < 0) {
        *error = QStringLiteral("cannot seek in the system journal: ") % describe(result);
        return false;
    }
    const int journalFd = sd_journal_get_fd(m_journal);
    if (journalFd < 0) {
        *error = QStringLiteral("cannot watch the system journal: ") % describe(journalFd);
        return false;
    }
    // What sd_journal_wait() does, with the stop descriptor and the output
    // watched too, so that a signal or a reader going away ends the wait at
    // once instead of at the next journal entry.
    for (;;) {
        bool stopped = false;
        if (!visitFollowing(filter, visit, &stopped, error)) {
            return stopped;
        }
        if (!idle()) {
            return true;
        }
        pollfd fds[3] = {};
        fds[0].fd = journalFd;
        fds[0].events = short(sd_journal_get_events(m_journal));
        fds[1].fd = m_stopFd;
        fds[1].events = POLLIN;
        fds[2].fd = m_watchedOutputFd;
        fds[2].events = 0; // errors and hang-ups only
        uint64_t timeout = 0;
        int timeoutMs = -1;
        if (sd_journal_get_timeout(m_journal, &timeout) >= 0 && timeout != uint64_t(-1)) {
            timespec monotonic{};
            clock_gettime(CLOCK_MONOTONIC, &monotonic);
            const uint64_t nowUs =
                uint64_t(monotonic.tv_sec) * 1000000 + uint64_t(monotonic.tv_nsec) / 1000;
            timeoutMs = timeout > nowUs
                            ? int(std::min<uint64_t>((timeout - nowUs + 999) / 1000, 60 * 1000))
                            : 0;
        }
        const int ready = ::poll(fds, 3, timeoutMs);
        if (ready < 0 && errno != EINTR) {
            *error = QStringLiteral("cannot wait for the system journal: ") % describe(-errno);
            return false;
        }
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0 ||
            (fds[2].revents & (POLLERR | POLLHUP)) != 0) {
            return true;
        }
        result = sd_journal_process(m_journal);
        if (result < 0) {
            *error = QStringLiteral("cannot follow the system journal: ") % describe(result);
            return false;
        }
    }
}

} // namespace platform::logstore
