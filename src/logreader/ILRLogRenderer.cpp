#include "logreader/ILRLogRenderer.h"

#include "foundation/QXLocalized.h"

#include <QFileInfo>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString Separator = QStringLiteral(" \u2014 ");
const QString Marker = QStringLiteral("\U0001F440");

class Writer
{
public:
    Writer(QTextDocument& document, const ILRLogSnapshot& snapshot)
        : m_cursor(&document), m_snapshot(snapshot)
    {
        // Later lines of an entry hang 20 points in; entries are 5 points
        // apart.
        QTextBlockFormat block;
        block.setLeftMargin(20.0);
        block.setTextIndent(-20.0);
        block.setBottomMargin(5.0);
        m_cursor.setBlockFormat(block);
        m_dim.setFont(snapshot.font);
        m_dim.setForeground(snapshot.dimColor);
        m_message.setFont(snapshot.font);
        m_message.setForeground(snapshot.messageColor);
    }

    bool hasText() const { return m_hasText; }

    void appendDim(const QString& text)
    {
        m_cursor.insertText(text, m_dim);
        m_hasText = true;
    }

    void appendEntry(const ILRLogEntry& entry, qsizetype repeatCount, bool marker)
    {
        QString head = entry.dateText();
        if (!m_snapshot.todayPrefix.isEmpty() && head.startsWith(m_snapshot.todayPrefix)) {
            head.remove(0, m_snapshot.todayPrefix.size());
        }
        if (!m_snapshot.hideSender) {
            const QString label = ILRLogRenderer::senderLabel(entry);
            if (!label.isEmpty()) {
                head = head + QStringLiteral(" | ") + label;
            }
        }
        if (marker) {
            head = Marker + u'\n' + head;
        }
        if (m_hasText) {
            head = u'\n' + head;
        }
        appendDim(head + QStringLiteral(": "));

        // One entry stays one paragraph.
        QString message = entry.eventMessage();
        message.replace(u'\n', QChar::LineSeparator);
        for (const QString& prefix : m_snapshot.hiddenPrefixes) {
            if (!prefix.isEmpty() && message.startsWith(prefix)) {
                message.remove(0, prefix.size());
            }
        }
        m_cursor.insertText(message, m_message);
        if (repeatCount > 1) {
            appendDim(QStringLiteral(" (\u00D7%1)").arg(repeatCount));
        }
    }

private:
    QTextCursor m_cursor;
    const ILRLogSnapshot& m_snapshot;
    QTextCharFormat m_dim;
    QTextCharFormat m_message;
    bool m_hasText = false;
};

QString header(const ILRLogSnapshot& snapshot)
{
    QString date = ILRLogEntry::displayText(snapshot.updateDate.toMSecsSinceEpoch() * 1000);
    if (!snapshot.todayPrefix.isEmpty() && date.startsWith(snapshot.todayPrefix)) {
        date.remove(0, snapshot.todayPrefix.size());
    }
    if (snapshot.numberOfDays < 0) {
        return QXLocalized::tr("\u21E4 %1\u2026").arg(date);
    }
    if (snapshot.numberOfDays == 0) {
        return QXLocalized::tr("\u21E4 1 hour before %1\u2026").arg(date);
    }
    if (snapshot.numberOfDays == 1) {
        return QXLocalized::tr("\u21E4 1 day before %1\u2026").arg(date);
    }
    return QXLocalized::tr("\u21E4 %n days before %1\u2026", nullptr, snapshot.numberOfDays)
        .arg(date);
}

QString coalescingKey(const ILRLogEntry& entry)
{
    return QStringLiteral("[%1]\n[%2]\n[%3]")
        .arg(entry.processImagePath(), entry.senderImagePath(), entry.eventMessage());
}

} // namespace

namespace ILRLogRenderer {

QString todayPrefix()
{
    const QString today = ILRLogEntry::displayText(QDateTime::currentMSecsSinceEpoch() * 1000);
    const qsizetype separator = today.indexOf(Separator);
    return separator < 0 ? QString() : today.left(separator + Separator.size());
}

QString senderLabel(const ILRLogEntry& entry)
{
    const QString process = QFileInfo(entry.processImagePath()).fileName();
    const QString sender = QFileInfo(entry.senderImagePath()).fileName();
    if (sender.isEmpty() || sender == process) {
        return process;
    }
    if (process.isEmpty()) {
        return sender;
    }
    return process + QStringLiteral(" > ") + sender;
}

std::unique_ptr<QTextDocument> render(const ILRLogSnapshot& snapshot)
{
    auto document = std::make_unique<QTextDocument>();
    // The log is never edited: recording every insertion for undo would keep
    // a second copy of the text.
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(snapshot.font);
    document->setDocumentMargin(5.0);
    Writer writer(*document, snapshot);
    if (snapshot.updateDate.isValid()) {
        writer.appendDim(header(snapshot));
    }

    const qsizetype insertion = snapshot.archiveInsertionIndex;
    const ILRLogEntry* pending = nullptr;
    QString pendingKey;
    qsizetype pendingCount = 0;
    bool pendingMarker = false;
    for (qsizetype i = 0; i < snapshot.entries.size(); ++i) {
        const ILRLogEntry& entry = snapshot.entries.at(i);
        if (entry.eventMessage().isEmpty()) {
            continue;
        }
        if (snapshot.disableCoalescing) {
            writer.appendEntry(entry, 0, i == insertion);
            continue;
        }
        QString key = coalescingKey(entry);
        if (pending && key == pendingKey && i != insertion) {
            ++pendingCount;
            continue;
        }
        if (pending) {
            writer.appendEntry(*pending, pendingCount, pendingMarker);
        }
        pending = &entry;
        pendingKey = std::move(key);
        pendingCount = 1;
        pendingMarker = i == insertion;
    }
    if (pending) {
        writer.appendEntry(*pending, pendingCount, pendingMarker);
    }

    if (insertion >= 0 && insertion == snapshot.entries.size()) {
        writer.appendDim(writer.hasText() ? u'\n' + Marker : Marker);
    }
    return document;
}

} // namespace ILRLogRenderer
