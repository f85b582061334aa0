#include "platform/defaults/UserDefaults.h"

#include "platform/bundle/Bundle.h"
#include "platform/files/RegularFile.h"
#include "platform/log/SystemLog.h"
#include "platform/plist/PropertyList.h"
#include "platform/plist/PropertyListStructure.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <limits>
#include <optional>

namespace platform {
namespace {

// How long the file must stay quiet after a change notice before it is read,
// so that a writer that is still busy is not caught half-way.
constexpr int reloadSettleMSecs = 50;
// A file that reads as missing, empty or broken right after a change notice is
// read once more after this delay before it is believed.
constexpr int reloadRetryMSecs = 250;

// A settings file larger than this is not one this program wrote.
constexpr qint64 maximumFileSize = 32 * 1024 * 1024;
// How long a write waits for another process's write to finish when it is
// asked for at once (synchronize()); the writes of the event loop never wait.
constexpr int lockWaitMSecs = 2000;
// How soon a write that found the lock taken tries again.
constexpr int lockRetryMSecs = 20;

// What the settings file holds at a given moment.
struct DiskState
{
    enum class Kind
    {
        Missing,
        Values,
        Broken,     // read, but not a settings file: it may be set aside
        Unavailable // there, but could not be opened or read: it is left alone
    };
    Kind kind = Kind::Missing;
    QVariantMap values;
    std::optional<QByteArray> bytes; // nothing when the file does not exist
    QString reason;                  // why the file is broken or unavailable
};

// Reads the file; when its bytes are those given as known, they are not
// parsed again and the values are left empty (the caller has them).
DiskState readDisk(const QString& path, const std::optional<QByteArray>& known = std::nullopt)
{
    DiskState state;
    QString error;
    RegularFile::Failure failure = RegularFile::Failure::None;
    std::optional<QByteArray> read = RegularFile::read(path, maximumFileSize, &error, &failure);
    if (!read) {
        if (failure == RegularFile::Failure::Missing) {
            return state;
        }
        // A file too large to be ours was read as far as it could be; it is
        // broken, not passing trouble.
        state.kind = failure == RegularFile::Failure::TooLarge ? DiskState::Kind::Broken
                                                               : DiskState::Kind::Unavailable;
        state.reason = error;
        return state;
    }
    state.bytes = std::move(read);
    state.kind = DiskState::Kind::Values;
    if (state.bytes->isEmpty() || state.bytes == known) {
        // An empty file holds no settings; there is nothing in it to keep.
        return state;
    }
    const auto root = plist::fromData(*state.bytes, &error);
    if (!root) {
        state.kind = DiskState::Kind::Broken;
        state.reason = error;
    } else if (root->typeId() != QMetaType::QVariantMap) {
        state.kind = DiskState::Kind::Broken;
        state.reason = QStringLiteral("the top level is not a dictionary");
    } else {
        state.values = root->toMap();
    }
    return state;
}

bool sameMap(const QVariantMap& a, const QVariantMap& b)
{
    return plist::identical(QVariant(a), QVariant(b));
}

// A string reads as YES when, after white space, a sign and leading zeros, it
// starts with Y, y, T, t or a digit 1 to 9 ("YES", "true", "1", "007").
bool boolFromString(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        ++i;
    }
    while (i < text.size() && text.at(i) == u'0') {
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    const QChar c = text.at(i);
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

qint64 clampedInteger(double number)
{
    if (std::isnan(number)) {
        return 0;
    }
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (number >= limit) {
        return std::numeric_limits<qint64>::max();
    }
    if (number < -limit) {
        return std::numeric_limits<qint64>::min();
    }
    return static_cast<qint64>(number);
}

// The integer at the start of a string, after white space and an optional
// sign ("42", " -7", "2.5" reads as 2); no digits read as 0; overflow clamps.
qint64 integerFromString(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    quint64 magnitude = 0;
    constexpr quint64 ceiling = static_cast<quint64>(std::numeric_limits<qint64>::max()) + 1;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        magnitude = magnitude * 10 + static_cast<quint64>(text.at(i).unicode() - u'0');
        if (magnitude >= ceiling) {
            magnitude = ceiling;
            break;
        }
    }
    if (negative) {
        return magnitude >= ceiling ? std::numeric_limits<qint64>::min()
                                    : -static_cast<qint64>(magnitude);
    }
    return magnitude >= ceiling ? std::numeric_limits<qint64>::max()
                                : static_cast<qint64>(magnitude);
}

bool boolFromValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::LongLong:
        return value.toLongLong() != 0;
    case QMetaType::ULongLong:
        return value.toULongLong() != 0;
    case QMetaType::Double:
        return value.toDouble() != 0.0;
    case QMetaType::QString:
        return boolFromString(value.toString());
    default:
        return false;
    }
}

qint64 integerFromValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        return number > static_cast<quint64>(std::numeric_limits<qint64>::max())
                   ? std::numeric_limits<qint64>::max()
                   : static_cast<qint64>(number);
    }
    case QMetaType::Double:
        return clampedInteger(value.toDouble());
    case QMetaType::QString:
        return integerFromString(value.toString());
    default:
        return 0;
    }
}

double floatFromValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? 1.0 : 0.0;
    case QMetaType::LongLong:
        return static_cast<double>(value.toLongLong());
    case QMetaType::ULongLong:
        return static_cast<double>(value.toULongLong());
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double number = value.toString().trimmed().toDouble(&ok);
        return ok ? number : 0.0;
    }
    default:
        return 0.0;
    }
}

// A name beside path for a file that is set aside, never one already taken.
QString asideName(const QString& path)
{
    const QString base =
        path + QStringLiteral(".corrupt-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n) {
        candidate = base + u'-' + QString::number(n);
    }
    return candidate;
}

// Takes the lock, waiting up to waitMSecs for another writer to let go. Its
// writes take milliseconds, so the lock is tried again after a few of them
// (QLockFile's own wait backs off to seconds, and two busy writers then
// starve each other), at slightly varied moments so that two waiting writers
// do not keep meeting. Where no lock can be made at all (a read-only folder),
// this answers true: writing is tried all the same and reports its own
// failure.
bool takeLock(QLockFile& lock, int waitMSecs)
{
    QDeadlineTimer deadline(waitMSecs);
    for (;;) {
        if (lock.tryLock(0)) {
            return true;
        }
        if (lock.error() != QLockFile::LockFailedError) {
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(1 + QRandomGenerator::global()->bounded(5u));
    }
}

std::unique_ptr<UserDefaults>& standardStore()
{
    static std::unique_ptr<UserDefaults> store;
    return store;
}

bool& teardownRegistered()
{
    static bool registered = false;
    return registered;
}

// The process-wide store owns a file watcher and timers; they must go while
// the application object that drives them still exists, and pending changes
// must be written before the process ends.
void releaseStandardStore()
{
    teardownRegistered() = false;
    standardStore().reset();
}

void registerStandardTeardown()
{
    if (!teardownRegistered() && QCoreApplication::instance() != nullptr) {
        qAddPostRoutine(releaseStandardStore);
        teardownRegistered() = true;
    }
}

} // namespace

struct UserDefaults::Private
{
    explicit Private(UserDefaults* owner) : q(owner) {}

    UserDefaults* q;
    QString filePath;

    // Guards registered and stored so that other threads may read.
    mutable QMutex mutex;
    QVariantMap registered;
    QVariantMap stored;

    // Keys set or removed here since the file was last read or written. When
    // another process changes the file meanwhile, these keys keep their value
    // from here (a removal included) and every other key takes the file's.
    QSet<QString> pendingKeys;
    bool dirty = false;

    // The file's bytes as last read or written here (nothing: no file). A
    // change notice that finds these bytes is our own write.
    std::optional<QByteArray> knownBytes;

    // A broken file that could not be moved aside must not be overwritten.
    bool blocked = false;
    // Why the file could not be opened or read at start: the session then
    // runs on what is in memory and never touches the file.
    QString unavailableReason;
    bool writeFailureLogged = false;
    bool unavailableLogged = false;
    bool retryingReload = false;

    QTimer* flushTimer = nullptr;
    QTimer* reloadTimer = nullptr;
    QFileSystemWatcher* watcher = nullptr;

    void setUpEventDriven();
    void load();
    void setAside(const QString& reason);
    void markChanged(const QString& key);
    void scheduleFlush();
    bool writeNow(int waitMSecs);
    bool writeLocked();
    void fileChangeNoticed();
    void reloadFromDisk();
    void refresh();
    void takeOver(const DiskState& state);
    void updateWatches();
    void logUnavailableOnce(const QString& reason);
};

void UserDefaults::Private::setUpEventDriven()
{
    // Without an event dispatcher (no application object yet), changes are
    // written at once and the file is not watched.
    if (QCoreApplication::instance() == nullptr ||
        QThread::currentThread()->eventDispatcher() == nullptr) {
        return;
    }
    flushTimer = new QTimer(q);
    flushTimer->setSingleShot(true);
    flushTimer->setInterval(0);
    QObject::connect(flushTimer, &QTimer::timeout, q, [this] { writeNow(0); });

    reloadTimer = new QTimer(q);
    reloadTimer->setSingleShot(true);
    QObject::connect(reloadTimer, &QTimer::timeout, q, [this] { reloadFromDisk(); });

    // The file is replaced by renames (ours and other writers'), which drop a
    // watch on the file itself; the folder's watch sees the new file arrive.
    watcher = new QFileSystemWatcher(q);
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, q, [this] { fileChangeNoticed(); });
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, q,
                     [this] { fileChangeNoticed(); });
    updateWatches();
}

void UserDefaults::Private::load()
{
    const DiskState state = readDisk(filePath);
    switch (state.kind) {
    case DiskState::Kind::Missing:
        break;
    case DiskState::Kind::Values:
        stored = state.values;
        knownBytes = state.bytes;
        break;
    case DiskState::Kind::Broken:
        setAside(state.reason);
        break;
    case DiskState::Kind::Unavailable:
        // Perhaps passing trouble (permissions, a full file table, a failing
        // disk): the file may hold the user's settings, so it is neither
        // moved nor overwritten, and this session runs without it.
        unavailableReason = state.reason.isEmpty() ? QStringLiteral("unknown error") : state.reason;
        systemLog(QStringLiteral("[UserDefaults] cannot open settings file %1 (%2); running on "
                                 "defaults, and settings changes of this session will not be "
                                 "saved")
                      .arg(filePath, unavailableReason));
        break;
    }
}

void UserDefaults::Private::logUnavailableOnce(const QString& reason)
{
    if (!unavailableLogged) {
        systemLog(QStringLiteral("[UserDefaults] cannot open settings file %1 (%2); settings "
                                 "changes wait until it can be read")
                      .arg(filePath, reason));
        unavailableLogged = true;
    }
}

void UserDefaults::Private::setAside(const QString& reason)
{
    const QString target = asideName(filePath);
    knownBytes.reset();
    if (QFile::rename(filePath, target)) {
        blocked = false;
        systemLog(QStringLiteral("[UserDefaults] cannot read settings file %1 (%2); moved it "
                                 "aside to %3")
                      .arg(filePath, reason, target));
    } else {
        // Logged once, not at every later attempt to save.
        if (!blocked) {
            systemLog(QStringLiteral("[UserDefaults] cannot read settings file %1 (%2) nor move "
                                     "it aside; settings changes will not be saved")
                          .arg(filePath, reason));
        }
        blocked = true;
    }
}

void UserDefaults::Private::markChanged(const QString& key)
{
    pendingKeys.insert(key);
    dirty = true;
    scheduleFlush();
    Q_EMIT q->didChange();
}

void UserDefaults::Private::scheduleFlush()
{
    if (flushTimer == nullptr) {
        writeNow(lockWaitMSecs);
    } else if (!flushTimer->isActive()) {
        flushTimer->start(0);
    }
}

// Other processes (the command-line tool, another store) write the same
// file. The read, merge and write happen under a lock file beside it, so
// that no writer replaces the file between another's read and its write.
bool UserDefaults::Private::writeNow(int waitMSecs)
{
    if (!dirty) {
        return true;
    }
    if (!unavailableReason.isEmpty()) {
        return false;
    }
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QLockFile lock(filePath + QStringLiteral(".lock"));
    if (!takeLock(lock, waitMSecs)) {
        // Another writer is busy: this one tries again shortly.
        if (flushTimer != nullptr && !flushTimer->isActive()) {
            flushTimer->start(lockRetryMSecs);
        }
        return false;
    }
    return writeLocked();
}

bool UserDefaults::Private::writeLocked()
{
    // Fold in what another process wrote since the file was last read here,
    // so that its changes to other keys survive this write.
    const DiskState state = readDisk(filePath, knownBytes);
    switch (state.kind) {
    case DiskState::Kind::Unavailable:
        // Writing now could replace settings that could not be read.
        logUnavailableOnce(state.reason);
        return false;
    case DiskState::Kind::Broken:
        setAside(state.reason);
        break;
    case DiskState::Kind::Missing:
    case DiskState::Kind::Values:
        if (state.bytes != knownBytes) {
            takeOver(state);
        }
        break;
    }
    unavailableLogged = false;
    if (blocked) {
        return false;
    }

    QVariantMap snapshot;
    {
        QMutexLocker locker(&mutex);
        snapshot = stored;
    }
    const QByteArray bytes = plist::toXml(QVariant(snapshot));
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (!writeFailureLogged) {
            systemLog(QStringLiteral("[UserDefaults] cannot write settings file %1: %2")
                          .arg(filePath, file.errorString()));
            writeFailureLogged = true;
        }
        return false;
    }
    writeFailureLogged = false;
    knownBytes = bytes;
    dirty = false;
    pendingKeys.clear();
    updateWatches();
    return true;
}

void UserDefaults::Private::fileChangeNoticed()
{
    updateWatches();
    if (!reloadTimer->isActive()) {
        retryingReload = false;
        reloadTimer->start(reloadSettleMSecs);
    }
}

void UserDefaults::Private::reloadFromDisk()
{
    if (!unavailableReason.isEmpty()) {
        return; // this session does not use the file
    }
    const DiskState state = readDisk(filePath, knownBytes);
    if (state.kind == DiskState::Kind::Unavailable) {
        // Keep what is in memory; the file is looked at again at the next
        // change notice or write.
        logUnavailableOnce(state.reason);
        return;
    }
    if (state.kind != DiskState::Kind::Broken && state.bytes == knownBytes) {
        retryingReload = false;
        return; // unchanged, or our own write
    }
    // Missing, empty and broken files are what a writer leaves between
    // truncating and writing, or between removing and creating: look again.
    const bool doubtful = state.kind == DiskState::Kind::Broken ||
                          state.kind == DiskState::Kind::Missing || state.bytes->isEmpty();
    if (doubtful && !retryingReload) {
        retryingReload = true;
        reloadTimer->start(reloadRetryMSecs);
        return;
    }
    retryingReload = false;
    if (state.kind == DiskState::Kind::Broken) {
        // Keep the values in memory and write them to a fresh file.
        setAside(state.reason);
        if (!blocked) {
            dirty = true;
            scheduleFlush();
        }
        return;
    }
    takeOver(state);
}

// Picks up another process's change at once, without waiting for the file
// to settle.
void UserDefaults::Private::refresh()
{
    if (!unavailableReason.isEmpty()) {
        return;
    }
    const DiskState state = readDisk(filePath, knownBytes);
    if (state.kind == DiskState::Kind::Unavailable) {
        logUnavailableOnce(state.reason);
    } else if (state.kind == DiskState::Kind::Broken) {
        setAside(state.reason);
        if (!blocked) {
            dirty = true;
        }
    } else if (state.bytes != knownBytes) {
        takeOver(state);
    }
}

void UserDefaults::Private::takeOver(const DiskState& state)
{
    knownBytes = state.bytes;
    QVariantMap values = state.values;
    bool changed = false;
    {
        QMutexLocker locker(&mutex);
        for (const QString& key : std::as_const(pendingKeys)) {
            const auto it = stored.constFind(key);
            if (it != stored.constEnd()) {
                values.insert(key, it.value());
            } else {
                values.remove(key);
            }
        }
        if (!sameMap(values, stored)) {
            stored = values;
            changed = true;
        }
    }
    if (changed) {
        Q_EMIT q->didChange();
    }
}

void UserDefaults::Private::updateWatches()
{
    if (watcher == nullptr) {
        return;
    }
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!watcher->directories().contains(folder) && QFileInfo(folder).isDir()) {
        watcher->addPath(folder);
    }
    if (!watcher->files().contains(filePath) && QFileInfo::exists(filePath)) {
        watcher->addPath(filePath);
    }
}

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent), d(std::make_unique<Private>(this))
{
    d->filePath = QFileInfo(filePath).absoluteFilePath();
    d->load();
    d->setUpEventDriven();
}

UserDefaults::~UserDefaults()
{
    // Nobody listens any more; only the file matters now.
    blockSignals(true);
    d->writeNow(lockWaitMSecs);
}

UserDefaults& UserDefaults::standard()
{
    auto& store = standardStore();
    if (!store) {
        store = std::make_unique<UserDefaults>(standardFilePath());
        registerStandardTeardown();
    }
    return *store;
}

void UserDefaults::setStandard(std::unique_ptr<UserDefaults> defaults)
{
    standardStore() = std::move(defaults);
    if (standardStore()) {
        registerStandardTeardown();
    }
}

QString UserDefaults::standardFilePath()
{
    // The XDG base-directory rules ignore a relative XDG_CONFIG_HOME.
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder)) {
        folder = QDir::homePath() + QStringLiteral("/.config");
    }
    QString identifier = Bundle::main().bundleIdentifier();
    if (identifier.isEmpty()) {
        identifier = QStringLiteral("com.quirkworks.Trovix");
    }
    return folder + u'/' + identifier + QStringLiteral(".plist");
}

QString UserDefaults::filePath() const
{
    return d->filePath;
}

QString UserDefaults::fileUnavailableReason() const
{
    return d->unavailableReason;
}

void UserDefaults::registerDefaults(const QVariantMap& defaults)
{
    QMutexLocker locker(&d->mutex);
    for (auto it = defaults.constBegin(); it != defaults.constEnd(); ++it) {
        const QVariant value = plist::normalized(it.value());
        if (value.isValid()) {
            d->registered.insert(it.key(), value);
        }
    }
}

QVariantMap UserDefaults::registeredDefaults() const
{
    QMutexLocker locker(&d->mutex);
    return d->registered;
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    QMutexLocker locker(&d->mutex);
    const auto it = d->stored.constFind(key);
    if (it != d->stored.constEnd()) {
        return it.value();
    }
    return d->registered.value(key);
}

bool UserDefaults::boolForKey(const QString& key) const
{
    return boolFromValue(objectForKey(key));
}

qint64 UserDefaults::integerForKey(const QString& key) const
{
    return integerFromValue(objectForKey(key));
}

double UserDefaults::floatForKey(const QString& key) const
{
    return floatFromValue(objectForKey(key));
}

QString UserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QVariantMap UserDefaults::dictionaryForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap();
}

bool UserDefaults::hasStoredValue(const QString& key) const
{
    QMutexLocker locker(&d->mutex);
    return d->stored.contains(key);
}

void UserDefaults::setObject(const QVariant& value, const QString& key)
{
    if (!value.isValid()) {
        removeObjectForKey(key);
        return;
    }
    // The file's top-level dictionary is one level of nesting already; a
    // value nested deeper than the file may be would make it unreadable.
    constexpr int valueNesting = plist::MaximumNesting - 1;
    if (plist::nestingOf(value, valueNesting) > valueNesting) {
        systemLog(QStringLiteral("[UserDefaults] cannot store a value nested deeper than %1 "
                                 "levels for key \"%2\"")
                      .arg(valueNesting)
                      .arg(key));
        return;
    }
    const QVariant converted = plist::normalized(value);
    if (!converted.isValid()) {
        systemLog(QStringLiteral("[UserDefaults] cannot store a value of type %1 for key \"%2\"")
                      .arg(QString::fromLatin1(value.metaType().name()), key));
        return;
    }
    {
        QMutexLocker locker(&d->mutex);
        const auto it = d->stored.constFind(key);
        if (it != d->stored.constEnd() && plist::identical(it.value(), converted)) {
            return;
        }
        d->stored.insert(key, converted);
    }
    d->markChanged(key);
}

void UserDefaults::setBool(bool value, const QString& key)
{
    setObject(QVariant(value), key);
}

void UserDefaults::setInteger(qint64 value, const QString& key)
{
    setObject(QVariant(static_cast<qlonglong>(value)), key);
}

void UserDefaults::removeObjectForKey(const QString& key)
{
    {
        QMutexLocker locker(&d->mutex);
        if (d->stored.remove(key) == 0) {
            return;
        }
    }
    d->markChanged(key);
}

QVariantMap UserDefaults::persistentDomain() const
{
    QMutexLocker locker(&d->mutex);
    return d->stored;
}

bool UserDefaults::synchronize()
{
    if (d->flushTimer != nullptr) {
        d->flushTimer->stop();
    }
    if (d->dirty) {
        return d->writeNow(lockWaitMSecs);
    }
    d->refresh();
    return !d->dirty || d->writeNow(lockWaitMSecs);
}

} // namespace platform
