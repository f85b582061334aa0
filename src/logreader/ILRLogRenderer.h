#pragma once

#include "logreader/ILRLogEntry.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QStringList>
#include <memory>

class QTextDocument;

// Everything one rendering of the log needs, copied out of the reader under
// its lock so that the text can be built without it (and off the main
// thread).
struct ILRLogSnapshot
{
    QList<ILRLogEntry> entries;
    // Where the running archive query inserts; -1 while none runs.
    qsizetype archiveInsertionIndex = -1;
    qint64 numberOfDays = 0;
    // When the current query started; invalid after the window closed.
    QDateTime updateDate;
    bool hideSender = false;
    bool disableCoalescing = false;
    QStringList hiddenPrefixes;
    // The display text of today up to and including " — ": dropped from the
    // dates of today's entries. Empty when there is none.
    QString todayPrefix;

    QFont font;
    QColor dimColor;
    QColor messageColor;
};

// Builds the log's styled text: a dim header naming the period, then one
// paragraph per entry (date, sender, message), repeated messages of the same
// process and sender coalesced into one with " (×N)", and the "👀" marker
// where the archive query inserts.
namespace ILRLogRenderer {

// The reusable part of a document: built by the caller's thread, with no
// parent. Move it to the thread that shows it.
std::unique_ptr<QTextDocument> render(const ILRLogSnapshot& snapshot);

// The text of today's date up to and including the separator.
QString todayPrefix();

// The sender label of an entry: the process, "process > sender" when the
// sender differs, the sender alone when the process is unknown.
QString senderLabel(const ILRLogEntry& entry);

} // namespace ILRLogRenderer
