#include "platform/updates/Appcast.h"

#include "platform/updates/VersionComparison.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <algorithm>

namespace platform {
namespace {

bool isSparkle(QStringView namespaceUri)
{
    return namespaceUri == QLatin1String(sparkleNamespaceUri);
}

QString elementText(QXmlStreamReader& reader)
{
    return reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

QUrl urlFromText(const QString& text)
{
    return text.isEmpty() ? QUrl() : QUrl(text, QUrl::StrictMode);
}

// Reads the children of an <item>; the reader stands on its start tag and is
// left on its end tag.
AppcastItem readItem(QXmlStreamReader& reader)
{
    AppcastItem item;
    QString enclosureVersion;
    QString enclosureShortVersion;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        const QStringView namespaceUri = reader.namespaceUri();
        if (namespaceUri.isEmpty()) {
            if (name == QLatin1String("title")) {
                item.title = elementText(reader);
            } else if (name == QLatin1String("link")) {
                item.link = urlFromText(elementText(reader));
            } else if (name == QLatin1String("description")) {
                item.description = elementText(reader);
            } else if (name == QLatin1String("enclosure")) {
                const QXmlStreamAttributes attributes = reader.attributes();
                for (const QXmlStreamAttribute& attribute : attributes) {
                    if (attribute.namespaceUri().isEmpty() &&
                        attribute.name() == QLatin1String("url")) {
                        item.enclosureUrl = urlFromText(attribute.value().trimmed().toString());
                    } else if (isSparkle(attribute.namespaceUri())) {
                        const QString value = attribute.value().trimmed().toString();
                        if (attribute.name() == QLatin1String("version")) {
                            enclosureVersion = value;
                        } else if (attribute.name() == QLatin1String("shortVersionString")) {
                            enclosureShortVersion = value;
                        } else if (attribute.name() == QLatin1String("os")) {
                            item.os = value;
                        }
                    }
                }
                reader.skipCurrentElement();
            } else {
                reader.skipCurrentElement();
            }
        } else if (isSparkle(namespaceUri)) {
            if (name == QLatin1String("version")) {
                item.version = elementText(reader);
            } else if (name == QLatin1String("shortVersionString")) {
                item.shortVersionString = elementText(reader);
            } else if (name == QLatin1String("releaseNotesLink")) {
                item.releaseNotesLink = urlFromText(elementText(reader));
            } else if (name == QLatin1String("minimumSystemVersion")) {
                item.minimumSystemVersion = elementText(reader);
            } else if (name == QLatin1String("os")) {
                item.os = elementText(reader);
            } else {
                reader.skipCurrentElement();
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    if (item.version.isEmpty()) {
        item.version = enclosureVersion;
    }
    if (item.shortVersionString.isEmpty()) {
        item.shortVersionString = enclosureShortVersion;
    }
    return item;
}

} // namespace

QString AppcastItem::displayVersionString() const
{
    return shortVersionString.isEmpty() ? version : shortVersionString;
}

QUrl AppcastItem::downloadUrl() const
{
    return link.isEmpty() ? enclosureUrl : link;
}

std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& data, QString* errorMessage)
{
    auto fail = [errorMessage](const QString& message) -> std::optional<QList<AppcastItem>> {
        if (errorMessage != nullptr) {
            *errorMessage = message;
        }
        return std::nullopt;
    };

    QXmlStreamReader reader(data);
    QList<AppcastItem> items;
    bool sawChannel = false;
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("rss") ||
        !reader.namespaceUri().isEmpty()) {
        if (reader.hasError()) {
            return fail(QCoreApplication::translate(
                            "Trovix", "The update feed is not a valid appcast (line %2): %1")
                            .arg(reader.errorString(), QString::number(reader.lineNumber())));
        }
        return fail(QCoreApplication::translate("Trovix", "The update feed is not an RSS feed."));
    }
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("channel") || !reader.namespaceUri().isEmpty()) {
            reader.skipCurrentElement();
            continue;
        }
        sawChannel = true;
        while (reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("item") && reader.namespaceUri().isEmpty()) {
                items.append(readItem(reader));
            } else {
                reader.skipCurrentElement();
            }
        }
    }
    // Anything after the root element must still be well-formed.
    while (!reader.atEnd()) {
        reader.readNext();
    }
    if (reader.hasError()) {
        return fail(QCoreApplication::translate(
                        "Trovix", "The update feed is not a valid appcast (line %2): %1")
                        .arg(reader.errorString(), QString::number(reader.lineNumber())));
    }
    if (!sawChannel) {
        return fail(QCoreApplication::translate("Trovix", "The update feed is not an RSS feed."));
    }
    const bool anyVersion = std::any_of(items.cbegin(), items.cend(), [](const AppcastItem& item) {
        return !item.version.isEmpty();
    });
    if (!anyVersion) {
        return fail(QCoreApplication::translate("Trovix", "The update feed lists no versions."));
    }
    return items;
}

bool isApplicableItem(const AppcastItem& item)
{
    return !item.version.isEmpty() &&
           (item.os.isEmpty() || item.os.compare(QLatin1String("linux"), Qt::CaseInsensitive) == 0);
}

std::optional<AppcastItem> newestApplicableItem(const QList<AppcastItem>& items)
{
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (isApplicableItem(item) &&
            (!newest || compareVersions(item.version, newest->version) > 0)) {
            newest = item;
        }
    }
    return newest;
}

std::optional<AppcastItem> availableUpdate(const QList<AppcastItem>& items,
                                           const QString& currentVersion)
{
    std::optional<AppcastItem> newest = newestApplicableItem(items);
    if (newest && compareVersions(newest->version, currentVersion) > 0) {
        return newest;
    }
    return std::nullopt;
}

} // namespace platform
