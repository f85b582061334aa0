#pragma once

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace platform::atspi {

// Tells watchers that an application's menus changed (children of a menu
// object added or removed, the name of one changed, one enabled, disabled,
// checked, unchecked, shown or hidden) or that it left the
// accessibility bus. Changes of other objects (an editor's text, say) are
// not told. The application is known by its bus name. Events arrive
// through the main loop; where an event does not carry its source's role,
// the role is asked for without waiting. Every watch is told once.
class AtspiMenuWatch : public QObject
{
    Q_OBJECT

public:
    static AtspiMenuWatch& instance();

    // Null when events cannot be had (no accessibility bus).
    std::shared_ptr<void> watch(const QString& busName, std::function<void()> changed);
    // Tells and forgets every watch of that application.
    void applicationChanged(const QString& busName);
    // An object of the application changed; role is its role when known.
    void objectChanged(const QString& busName, const QString& path, std::optional<uint> role);
    // How many change events have been judged so far (told or not).
    quint64 judgedEvents() const { return m_judgedEvents; }

private Q_SLOTS:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    AtspiMenuWatch() = default;
    bool ensureListening();

    struct Watch
    {
        std::function<void()> changed;
    };

    void judge(const QString& busName, std::optional<uint> role);

    QMultiHash<QString, std::weak_ptr<Watch>> m_watches;
    // Roles asked for, per application and object path; objects keep their
    // role, and editors fire many events on the same few objects.
    QHash<QString, QHash<QString, uint>> m_roles;
    QSet<QString> m_asking;
    quint64 m_judgedEvents = 0;
    bool m_listening = false;
};

} // namespace platform::atspi
