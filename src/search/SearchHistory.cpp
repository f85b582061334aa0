#include "search/SearchHistory.h"

#include "platform/files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

namespace {

// A history file bigger than this is not ours to read.
constexpr qint64 MaximumFileSize = 4 * 1024 * 1024;
constexpr int PointsPerPress = 10;

} // namespace

QString SearchHistory::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/Trovix/search-history.json");
}

SearchHistory::SearchHistory(QString path) : m_path(std::move(path)) {}

bool SearchHistory::load()
{
    m_applications.clear();
    // Only a regular file is read, without waiting: a FIFO in its place
    // must not hold up the search.
    const std::optional<QByteArray> file = platform::RegularFile::read(m_path, MaximumFileSize);
    if (!file) {
        return false;
    }
    return read(*file);
}

bool SearchHistory::read(const QByteArray& json)
{
    m_applications.clear();
    // The parser refuses documents nested deeper than its own limit; this
    // reader goes three levels down and no further.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        return false;
    }
    const QJsonObject applications = document.object().value("applications").toObject();
    for (auto it = applications.begin(); it != applications.end(); ++it) {
        const QJsonObject stored = it.value().toObject();
        Application application;
        application.lastUsed = stored.value("lastUsed").toInteger();
        const QJsonArray entries = stored.value("items").toArray();
        for (const QJsonValue& value : entries) {
            const QJsonObject item = value.toObject();
            // Presses are never counted past MaximumBoost; a larger count
            // from elsewhere is held there, so that no sum overflows.
            Entry entry{item.value("path").toString(),
                        std::min(item.value("presses").toInt(), MaximumBoost),
                        item.value("lastPressed").toInteger()};
            if (!entry.path.isEmpty() && entry.presses > 0 &&
                application.entries.size() < MaximumItemsPerApplication) {
                application.entries.append(entry);
            }
        }
        if (!application.entries.isEmpty() && m_applications.size() < MaximumApplications) {
            m_applications.insert(it.key(), application);
        }
    }
    return true;
}

bool SearchHistory::save() const
{
    QJsonObject applications;
    for (auto it = m_applications.cbegin(); it != m_applications.cend(); ++it) {
        QJsonArray items;
        for (const Entry& entry : it->entries) {
            items.append(QJsonObject{{"path", entry.path},
                                     {"presses", entry.presses},
                                     {"lastPressed", entry.lastPressed}});
        }
        applications.insert(it.key(), QJsonObject{{"lastUsed", it->lastUsed}, {"items", items}});
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(QJsonDocument(QJsonObject{{"applications", applications}}).toJson());
    return file.commit();
}

bool SearchHistory::clear()
{
    m_applications.clear();
    if (QFile::remove(m_path)) {
        return true;
    }
    // Nothing to remove is success; a dangling link is still a file
    // (exists() follows it).
    const QFileInfo file(m_path);
    return !file.exists() && !file.isSymLink();
}

void SearchHistory::recordPress(const QString& application, const QString& itemPath,
                                const QDateTime& when)
{
    const qint64 seconds = when.toSecsSinceEpoch();
    Application& record = m_applications[application];
    record.lastUsed = seconds;
    auto found = std::find_if(record.entries.begin(), record.entries.end(),
                              [&itemPath](const Entry& entry) { return entry.path == itemPath; });
    if (found != record.entries.end()) {
        found->presses = std::min(found->presses + 1, MaximumBoost);
        found->lastPressed = seconds;
    } else {
        record.entries.append({itemPath, 1, seconds});
    }
    const auto leastRecent = [](const Entry& a, const Entry& b) {
        return a.lastPressed < b.lastPressed;
    };
    while (record.entries.size() > MaximumItemsPerApplication) {
        record.entries.erase(
            std::min_element(record.entries.begin(), record.entries.end(), leastRecent));
    }
    while (m_applications.size() > MaximumApplications) {
        auto oldest = m_applications.begin();
        for (auto it = m_applications.begin(); it != m_applications.end(); ++it) {
            if (it->lastUsed < oldest->lastUsed) {
                oldest = it;
            }
        }
        m_applications.erase(oldest);
    }
}

int SearchHistory::boost(const QString& application, const QString& itemPath) const
{
    const auto found = m_applications.constFind(application);
    if (found == m_applications.cend()) {
        return 0;
    }
    for (const Entry& entry : found->entries) {
        if (entry.path == itemPath) {
            return std::min(entry.presses * PointsPerPress, MaximumBoost);
        }
    }
    return 0;
}
