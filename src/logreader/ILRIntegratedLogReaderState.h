#pragma once

// The reader's shared state, used by both halves of ILRIntegratedLogReader.
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRJSONLogStream.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QMetaObject>
#include <QRecursiveMutex>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using EntryList = QList<ILRLogEntry>;
using Token = std::shared_ptr<EntryList>;

// What the background steps share with the reader. They hold it, not the
// reader, so a step that outlives the reader finds the list gone and stops.
struct ILRIntegratedLogReader::State
{
    mutable QRecursiveMutex lock;
    // The reader, while it lives: the way back to the main thread.
    ILRIntegratedLogReader* owner = nullptr;
    Token entries;
    std::shared_ptr<ILRJSONLogStream> liveStream;
    std::optional<qint64> firstLiveStreamTimestamp;
    std::optional<qint64> lastArchiveStreamTimestamp;
    qsizetype archiveInsertionIndex = -1;
    qint64 numberOfDays = 0;
    QDateTime updateDate;
    QStringList hiddenPrefixes;
    // The archive queries and gap fills under way.
    std::vector<std::weak_ptr<ILRJSONLogStream>> oneShots;
    bool renderPosted = false;
    // The archive query and the live stream of a fresh run start together, so
    // an entry written in between may reach both and must be shown once.
    // Each side keeps the entries (by what makes an entry the same one) that
    // the other side has not matched yet; an entry matches at most one of the
    // other side's. Two genuine entries alike in every respect that come from
    // the same side are both kept.
    QHash<QByteArray, int> archiveUnmatched;
    QHash<QByteArray, int> liveUnmatched;
    // Whether the fresh run's archive query may still bring entries: only
    // then are live entries remembered for it.
    bool archiveOpen = false;

    // Installs a new, empty list (the generation token).
    Token newList()
    {
        entries = std::make_shared<EntryList>();
        forgetOverlap();
        return entries;
    }

    void forgetOverlap()
    {
        archiveUnmatched.clear();
        liveUnmatched.clear();
        archiveOpen = false;
    }

    // The fresh run's archive query has ended: no archive entry is left to
    // match a live one.
    void closeArchive()
    {
        archiveOpen = false;
        liveUnmatched.clear();
    }

    // What makes an entry the same one: its date to the microsecond, process,
    // sender and message. A digest, not the text: the table may live as long
    // as the list, and the text would cost as much again as the entry itself.
    static QByteArray identity(const ILRLogEntry& entry)
    {
        const QJsonObject& object = entry.object();
        const QString key = QString::number(entry.date()) + u'\x1f' +
                            object.value(QLatin1String("processID")).toVariant().toString() +
                            u'\x1f' + entry.senderImagePath() + u'\x1f' + entry.eventMessage();
        return QCryptographicHash::hash(
                   QByteArrayView(reinterpret_cast<const char*>(key.constData()),
                                  key.size() * qsizetype(sizeof(QChar))),
                   QCryptographicHash::Sha256)
            .left(16);
    }

    // Whether an entry of one side is new to the list: false when it matches
    // an entry the other side brought. Entries without a date cannot be told
    // apart and are always taken.
    static bool admit(const ILRLogEntry& entry, QHash<QByteArray, int>* own,
                      QHash<QByteArray, int>& other)
    {
        if (!entry.hasDate()) {
            return true;
        }
        const QByteArray key = identity(entry);
        const auto match = other.find(key);
        if (match != other.end()) {
            if (--match.value() == 0) {
                other.erase(match);
            }
            return false;
        }
        if (own != nullptr) {
            ++(*own)[key];
        }
        return true;
    }

    bool admitArchive(const ILRLogEntry& entry)
    {
        return admit(entry, &archiveUnmatched, liveUnmatched);
    }

    // The entries of a live batch not in the list yet.
    EntryList admittedLive(const EntryList& batch)
    {
        EntryList fresh;
        fresh.reserve(batch.size());
        for (const ILRLogEntry& entry : batch) {
            if (admit(entry, archiveOpen ? &liveUnmatched : nullptr, archiveUnmatched)) {
                fresh.append(entry);
            }
        }
        return fresh;
    }

    // Runs function on the main thread, if the reader is still there. Call
    // under the lock.
    void post(std::function<void(ILRIntegratedLogReader&)> function)
    {
        if (owner == nullptr) {
            return;
        }
        ILRIntegratedLogReader* reader = owner;
        QMetaObject::invokeMethod(
            reader, [reader, function = std::move(function)] { function(*reader); },
            Qt::QueuedConnection);
    }

    // Asks for a rendering on the main thread; one that waits already covers
    // this one. Call under the lock.
    void requestRender()
    {
        if (renderPosted || owner == nullptr) {
            return;
        }
        renderPosted = true;
        post([](ILRIntegratedLogReader& reader) { reader.updateDisplay(); });
    }

    void stopOneShots()
    {
        for (const auto& weak : oneShots) {
            if (const auto stream = weak.lock()) {
                stream->terminate();
            }
        }
        oneShots.clear();
    }

    void stopLiveStream()
    {
        if (liveStream) {
            liveStream->terminate();
            liveStream.reset();
        }
        firstLiveStreamTimestamp.reset();
    }
};
