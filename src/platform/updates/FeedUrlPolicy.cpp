#include "platform/updates/FeedUrlPolicy.h"

#include <QHostAddress>

namespace platform::FeedUrlPolicy {

bool isLoopbackHost(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    QHostAddress address;
    if (!address.setAddress(host)) {
        return false;
    }
    if (address.isLoopback()) {
        return true;
    }
    bool isIPv4 = false;
    const quint32 mapped = address.toIPv4Address(&isIPv4);
    return isIPv4 && QHostAddress(mapped).isLoopback();
}

namespace {

bool isHttps(const QUrl& url)
{
    return url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

bool isLoopbackHttp(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") && isLoopbackHost(url.host());
}

bool isLocalFile(const QUrl& url)
{
    return url.isLocalFile() && (url.host().isEmpty() || isLoopbackHost(url.host()));
}

// Addresses with credentials in them are never used: they would end up in
// logs and messages.
bool isUsable(const QUrl& url)
{
    return url.isValid() && !url.isRelative() && url.userInfo().isEmpty();
}

} // namespace

bool isAllowedFeedUrl(const QUrl& url)
{
    return isUsable(url) && (isHttps(url) || isLoopbackHttp(url) || isLocalFile(url));
}

bool isAllowedRedirect(const QUrl& from, const QUrl& to)
{
    if (!isUsable(to) || isLocalFile(to)) {
        return false;
    }
    if (from.scheme() == QLatin1String("https")) {
        return isHttps(to);
    }
    return isHttps(to) || isLoopbackHttp(to);
}

bool isAllowedReleaseNotes(const QUrl& feed, const QUrl& notes)
{
    if (!isAllowedFeedUrl(feed) || !isUsable(notes)) {
        return false;
    }
    if (isHttps(notes)) {
        return true;
    }
    const bool local = isLoopbackHttp(notes) || isLocalFile(notes);
    return local && (isLoopbackHttp(feed) || isLocalFile(feed));
}

bool isAllowedLink(const QUrl& url)
{
    return isUsable(url) && (isHttps(url) || isLoopbackHttp(url));
}

} // namespace platform::FeedUrlPolicy
