#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace platform {

// One version offered by an update feed (an RSS 2.0 "appcast": one <item> per
// version, the updater's own elements in the namespace sparkleNamespaceUri).
struct AppcastItem
{
    QString title;
    // The bundle version compared with the running program's CFBundleVersion:
    // the item's version element, else its enclosure's version attribute.
    QString version;
    // The version shown to people; may be empty.
    QString shortVersionString;
    // Release notes given in the feed, as HTML or plain text.
    QString description;
    // Where the release notes can be read instead.
    QUrl releaseNotesLink;
    // The version's web page, and the file offered for download.
    QUrl link;
    QUrl enclosureUrl;
    // The operating system the version is for (empty: any).
    QString os;
    // Read but not used: the versions it names are another system's.
    QString minimumSystemVersion;

    // The version to show: the short version string, else the version.
    QString displayVersionString() const;
    // What "Download" opens: the web page, else the enclosure.
    QUrl downloadUrl() const;
};

// The XML namespace of the updater's elements and attributes, matched by URI
// whatever prefix a feed gives it.
inline constexpr const char* sparkleNamespaceUri =
    "http://www.andymatuschak.org/xml-namespaces/sparkle";

// Reads an appcast. Answers its items in feed order, or nothing with a
// message for people in errorMessage when the data is no well-formed RSS
// feed, the channel holds no items, or no item names a version.
std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& data, QString* errorMessage);

// Whether the item is for this computer: it names a version, and its
// operating system is Linux or not given.
bool isApplicableItem(const AppcastItem& item);

// The newest applicable item (the first of equal versions); nothing when no
// item applies.
std::optional<AppcastItem> newestApplicableItem(const QList<AppcastItem>& items);

// The newest applicable item when it is newer than currentVersion; nothing
// when the program is up to date.
std::optional<AppcastItem> availableUpdate(const QList<AppcastItem>& items,
                                           const QString& currentVersion);

} // namespace platform
