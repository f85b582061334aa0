#pragma once

// The reader's shared state, used by both halves of ILRIntegratedLogReader.
#include "logreader/ILRIntegratedLogReader.h"
#include "logreader/ILRJSONLogStream.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMetaObject>
#include <QRecursiveMutex>
#include <QSet>
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
    // The entries of the current list, by what makes an entry the same one:
    // the archive query and the live stream start together, so an entry
    // written in between reaches both and must be shown once.
    QSet<QByteArray> seen;

    // Installs a new, empty list (the generation token).
    Token newList()
    {
        entries = std::make_shared<EntryList>();
        seen.clear();
        return entries;
    }

    // Whether entry is not in the list yet; remembers it. Entries without a
    // date cannot be told apart and are always taken.
    bool admit(const ILRLogEntry& entry)
    {
        if (!entry.hasDate()) {
            return true;
        }
        const QJsonObject& object = entry.object();
        const QString key = QString::number(entry.date()) + u'\x1f' +
                            object.value(QLatin1String("processID")).toVariant().toString() +
                            u'\x1f' + entry.senderImagePath() + u'\x1f' + entry.eventMessage();
        // A digest, not the text: the set lives as long as the list, and the
        // text would cost as much again as the entry itself.
        const QByteArray digest =
            QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(key.constData()),
                                                    key.size() * qsizetype(sizeof(QChar))),
                                     QCryptographicHash::Sha256)
                .left(16);
        if (seen.contains(digest)) {
            return false;
        }
        seen.insert(digest);
        return true;
    }

    // The entries of batch not in the list yet.
    EntryList admitted(const EntryList& batch)
    {
        EntryList fresh;
        fresh.reserve(batch.size());
        for (const ILRLogEntry& entry : batch) {
            if (admit(entry)) {
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
