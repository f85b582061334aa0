#pragma once

#include "platform/loginitems/LoginItems.h"

#include <QDBusConnection>
#include <QObject>

namespace platform {

// Inside a Flatpak sandbox the desktop's Background portal starts the program
// at login in place of the autostart list, which the sandbox cannot reach.
// Asking is asynchronous (the desktop may ask the user first): switching sends
// the request, and the portal's answer, when it comes, is kept in stateFile,
// which is what the helper's state reads from. The list itself reads as empty.
class BackgroundPortalLoginItems : public QObject, public LoginItems
{
    Q_OBJECT

public:
    // program is the command the portal runs at login (the sandbox's own path
    // of the executable).
    BackgroundPortalLoginItems(const QDBusConnection& bus, const QString& stateFile,
                               const QString& program);

    std::optional<QList<LoginItem>> snapshot() override { return QList<LoginItem>(); }
    bool remove(const LoginItem&) override { return false; }
    std::optional<LoginItem> insert(const QString&) override { return std::nullopt; }

    bool hasHelper() const override { return true; }
    // The portal's last answer; off when it never answered.
    std::optional<bool> isHelperEnabled() override;
    bool canEnableHelper() const override;
    // Answers whether the request went out; the portal's answer follows.
    bool setHelperEnabled(bool enabled) override;

    // Whether the program runs inside a Flatpak sandbox.
    static bool isSandboxed();
    // The file a sandboxed program keeps the portal's answer in.
    static QString defaultStateFile();

private Q_SLOTS:
    void response(uint code, const QVariantMap& results);

private:
    void writeState(bool enabled);

    QDBusConnection m_bus;
    QString m_stateFile;
    QString m_program;
    QString m_pendingRequest;
    quint64 m_requestCount = 0;
};

} // namespace platform
