#pragma once

#include <QString>
#include <QUrl>

namespace platform {

// Which addresses the updater may load from and hand to the desktop. Update
// information travels over https only; plain http and local files are taken
// only from this computer (loopback addresses and "localhost"), which is what
// tests and a local mirror use.
namespace FeedUrlPolicy {

// Whether host names this computer: 127.0.0.0/8, ::1 (also written as an
// IPv4-mapped address) or "localhost". Decided on the text alone, without a
// name lookup.
bool isLoopbackHost(const QString& host);

// Whether the feed (or release notes) may be loaded from url: https with a
// host, http on a loopback host, or a file on this computer.
bool isAllowedFeedUrl(const QUrl& url);

// Whether a load that started at from may follow a redirect to to: the
// target must itself be allowed, never a file, and a load that started over
// https stays on https.
bool isAllowedRedirect(const QUrl& from, const QUrl& to);

// Whether the release notes a feed names may be loaded from notes, given the
// address the feed itself came from: https always; http on a loopback host
// or a local file only when the feed came from this computer too, so a feed
// from the network can neither show the user's own files nor reach services
// that listen on this computer.
bool isAllowedReleaseNotes(const QUrl& feed, const QUrl& notes);

// Whether a link from the feed (download page, enclosure, a link in the
// release notes) may be opened in the user's browser: https, or http on a
// loopback host. Never a local file or another scheme.
bool isAllowedLink(const QUrl& url);

} // namespace FeedUrlPolicy
} // namespace platform
