#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace platform {

// One entry of the list of programs the desktop starts when the user logs in.
struct LoginItem
{
    // Names the entry within the list (the autostart file's name).
    QString identifier;
    // The absolute path of the program it starts; empty when the entry cannot
    // be resolved to one (malformed, or not naming a program).
    QString path;
};

// The programs started at login: the list itself, and the helper that starts
// the program in its place where the list cannot be reached (a sandbox).
class LoginItems
{
public:
    virtual ~LoginItems() = default;

    // The process-wide instance: the XDG autostart one (inside a Flatpak
    // sandbox the Background portal) unless another was installed.
    static LoginItems& current();
    // Replaces the process-wide instance (tests install the memory one).
    static void setCurrent(std::unique_ptr<LoginItems> loginItems);

    // The entries now in effect, in a stable order; nothing when the list
    // cannot be read.
    virtual std::optional<QList<LoginItem>> snapshot() = 0;
    // Takes the entry out of the list so that it no longer starts anything.
    // Answers whether it is gone.
    virtual bool remove(const LoginItem& item) = 0;
    // Puts an entry for the program at applicationPath into the list under
    // the program's own entry name, replacing whatever stood there. Answers
    // the new entry, or nothing on failure.
    virtual std::optional<LoginItem> insert(const QString& applicationPath) = 0;

    // Whether a helper, not the list, starts the program at login.
    virtual bool hasHelper() const = 0;
    // Whether the helper is switched on; nothing when that cannot be read.
    virtual std::optional<bool> isHelperEnabled() = 0;
    // Whether the helper can be switched on for the program as it is
    // installed now.
    virtual bool canEnableHelper() const = 0;
    // Switches the helper on or off; answers success.
    virtual bool setHelperEnabled(bool enabled) = 0;

    // Why the last change that failed did, in the user's words; empty when
    // nothing failed yet.
    QString lastError() const { return m_lastError; }

    // Calls observer, on the main thread, whenever the state changes after
    // the call that asked for it returned (an answer that arrives later),
    // for as long as context lives.
    void addChangeObserver(QObject* context, std::function<void()> observer);

protected:
    void setLastError(const QString& error) { m_lastError = error; }
    void notifyChanged();

private:
    QString m_lastError;
    QList<std::pair<QPointer<QObject>, std::function<void()>>> m_observers;
};

} // namespace platform
