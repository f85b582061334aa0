#pragma once

#include "help/QXHelpPageRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// Turns one help page into its record. The page's markup: text, words and
// anchors come from the first plain "<body>" on, HTML comments removed; the
// title element, the index marker <!--com.quirkworks.help.index[...]--> and
// the quick-access marker <!--com.quirkworks.help.quickaccess[a|b]--> are
// found anywhere in the file; anchors are written <a name="[Category]Name">.
// Keywords are matched regardless of letter case. Safe on any input.
namespace QXHelpPageParser {

// Pages larger than this are not read (they get a record without words).
inline constexpr qint64 maximumPageSize = 32 * 1024 * 1024;

// The record of the page at filePath, known under relativePath. An unreadable,
// empty or oversized file yields a record without words, titled by its path.
QXHelpPageRecord pageRepresentationForFile(const QString& relativePath, const QString& filePath);

// The record of a page whose bytes are data (encoding detected: a byte-order
// mark, else UTF-8 when the bytes are valid UTF-8, else the charset the page
// declares, else Latin-1).
QXHelpPageRecord pageRepresentationForData(const QString& relativePath, const QByteArray& data);

// The record of a page's decoded text.
QXHelpPageRecord pageRepresentation(const QString& relativePath, const QString& html);

QString decodedPage(const QByteArray& data);

// The index value of a page without one: it sorts after every marked page,
// pages among themselves by path.
QString fallbackIndex(const QString& relativePath);

// The distinct words of text: split at whitespace, punctuation (except "-")
// and decimal digits, pieces of 2 or more characters, lower case, in order of
// first appearance.
QStringList wordsFromString(QStringView text);

// The body from the first "<body>" on with every comment left out (an
// unterminated comment removes the rest); empty without a body tag.
QString commentFreeBody(QStringView html);

// The visible text of a comment-free body: every run of characters outside
// tags, each preceded by one space. Entities stay as written.
QString visibleText(QStringView body);

// The anchors of a comment-free body, in page order.
QList<QXHelpAnchorRecord> anchors(const QString& relativePath, QStringView body);

// The display name of an anchor's display part ("hot_keys: basics" ->
// "Hot Keys: Basics", "Using_=L=iCloud" -> "Using icloud", "Mac=U=Book" ->
// "MacBook").
QString anchorDisplayName(const QString& displayPart);

} // namespace QXHelpPageParser
