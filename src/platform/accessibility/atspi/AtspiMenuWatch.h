#pragma once

#include <QMultiHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace platform::atspi {

// Tells watchers that an application's accessible objects changed (children
// added or removed, names changed) or that it left the accessibility bus.
// The application is known by its bus name. Events arrive through the main
// loop; every watch is told once.
class AtspiMenuWatch : public QObject
{
    Q_OBJECT

public:
    static AtspiMenuWatch& instance();

    // Null when events cannot be had (no accessibility bus).
    std::shared_ptr<void> watch(const QString& busName, std::function<void()> changed);
    // Tells and forgets every watch of that application.
    void applicationChanged(const QString& busName);

private Q_SLOTS:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    AtspiMenuWatch() = default;
    bool ensureListening();

    struct Watch
    {
        std::function<void()> changed;
    };

    QMultiHash<QString, std::weak_ptr<Watch>> m_watches;
    bool m_listening = false;
};

} // namespace platform::atspi
