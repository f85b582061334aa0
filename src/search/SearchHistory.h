#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

// The menu items the user pressed through search, per application, so that
// ranking can put them first next time. Kept small: at most
// MaximumItemsPerApplication items for each of at most MaximumApplications
// applications, the least recently used dropped first. Stored as JSON and
// written atomically; a file that cannot be read or parsed counts as empty.
class SearchHistory
{
public:
    static constexpr qsizetype MaximumItemsPerApplication = 100;
    static constexpr qsizetype MaximumApplications = 50;
    // The most points a pressed item earns.
    static constexpr int MaximumBoost = 30;

    // The history file: $XDG_STATE_HOME/Trovix/search-history.json, with
    // ~/.local/state for an unset or relative XDG_STATE_HOME.
    static QString defaultPath();

    explicit SearchHistory(QString path = defaultPath());

    // Reads the file; false (and an empty history) when it is missing or
    // unusable.
    bool load();
    // Replaces the history with the sane entries of a JSON document as the
    // file holds it; false when the document does not parse (the history is
    // then empty).
    bool read(const QByteArray& json);
    // Writes the file atomically; false when it cannot be written.
    bool save() const;

    // Notes that the item with that path ("File › New Window") was pressed
    // in the application (any stable name for it).
    void recordPress(const QString& application, const QString& itemPath,
                     const QDateTime& when = QDateTime::currentDateTimeUtc());
    // Points for the item: more for more presses, up to MaximumBoost.
    int boost(const QString& application, const QString& itemPath) const;

    // Whether no press is remembered.
    bool isEmpty() const { return m_applications.isEmpty(); }
    // Forgets every press and removes the file; false when the file is
    // still there afterwards (the presses are forgotten all the same).
    bool clear();

private:
    struct Entry
    {
        QString path;
        int presses = 0;
        qint64 lastPressed = 0; // seconds since the epoch
    };
    struct Application
    {
        QList<Entry> entries;
        qint64 lastUsed = 0;
    };

    QString m_path;
    QHash<QString, Application> m_applications;
};
