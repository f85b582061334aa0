#pragma once

#include <QString>
#include <QStringList>

// What the credits file of the bundle says: one credit entry per line, and a
// line beginning with "=> " that completes the copyright line.
class QXAboutCredits
{
public:
    // Files larger than this are not credits files; they are left unread.
    static constexpr qint64 MaximumFileSize = 1024 * 1024;

    // The credits in text. Lines end at any newline character; empty lines
    // are skipped; the last "=> " line wins.
    static QXAboutCredits fromText(const QString& text);
    // The credits in the UTF-8 file at path. A missing, oversized or
    // unreadable file (not UTF-8, say) yields no entries and no suffix.
    static QXAboutCredits fromFile(const QString& path);

    // The entries in the order people expect: case-insensitive, numbers by
    // value.
    QStringList sortedEntries() const;

    QStringList entries;
    // The text after "=> " of the last such line; null when there was none.
    QString copyrightSuffix;
};
