#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <memory>

namespace platform {

// The program's settings: a typed store of property-list values with
// registered defaults. Registered values stay in memory and are never written;
// values that are set persist on their own, atomically, at most once per pass
// of the event loop, to an XML property list. A change of the file by another
// process is picked up and reported through didChange().
//
// Every write reads the file again under a lock file beside it and merges:
// keys changed here since the file was last read or written keep their new
// value (or stay removed), every other key takes the file's, so that two
// processes writing at once lose neither's changes. A file that turns broken
// while the store runs is moved aside like one found broken at start, and the
// values in memory are written to a fresh file.
//
// Only a file that was read and does not parse (or is nested too deeply) is
// moved aside. A file that is there but cannot be opened or read (no
// permission, an I/O error, a folder or a FIFO in its place) is never moved
// or overwritten: found so at start, the store runs on registered defaults
// for the whole session without touching it (fileUnavailableReason() says
// why); found so later, changes wait in memory until it can be read again.
//
// Reads are safe from any thread; changes, synchronize() and didChange()
// belong to the thread that created the store. A store created before the
// application object exists writes every change at once and does not watch
// its file.
class UserDefaults : public QObject
{
    Q_OBJECT

public:
    // A store persisted at filePath. The file is read at once; a corrupt file
    // is renamed aside, logged once, and the store starts empty.
    explicit UserDefaults(const QString& filePath, QObject* parent = nullptr);
    ~UserDefaults() override;

    // The process-wide store at $XDG_CONFIG_HOME/<bundle identifier>.plist
    // (~/.config when XDG_CONFIG_HOME is unset), created on first use.
    static UserDefaults& standard();
    // Replaces the process-wide store (tests install one on a temporary file).
    static void setStandard(std::unique_ptr<UserDefaults> defaults);
    // Where the process-wide store keeps its file.
    static QString standardFilePath();

    QString filePath() const;
    // Why the file could not be opened or read when the store was made, or
    // an empty string when it could (or did not exist). When not empty, the
    // store never writes the file.
    QString fileUnavailableReason() const;

    // Registered values: consulted when a key has no stored value.
    void registerDefaults(const QVariantMap& defaults);
    QVariantMap registeredDefaults() const;

    // Typed reads. An absent key reads as an invalid QVariant, NO, 0, 0.0,
    // an empty string or an empty map.
    QVariant objectForKey(const QString& key) const;
    bool boolForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;
    // A number, or a string that holds a number; anything else reads as 0.
    double floatForKey(const QString& key) const;
    // The value when it is a string, otherwise an empty (null) string.
    QString stringForKey(const QString& key) const;
    QVariantMap dictionaryForKey(const QString& key) const;
    bool hasStoredValue(const QString& key) const;

    void setObject(const QVariant& value, const QString& key);
    void setBool(bool value, const QString& key);
    void setInteger(qint64 value, const QString& key);
    void removeObjectForKey(const QString& key);

    // Values that are stored (persisted), without the registered defaults.
    QVariantMap persistentDomain() const;

    // Writes pending changes now; answers whether the file is up to date.
    bool synchronize();

Q_SIGNALS:
    // A value changed, in this process or in the file by another process.
    void didChange();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace platform
