#pragma once

#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

namespace platform {

// One running application as the workspace saw it: its process identifier,
// name, executable and activation policy, and the live questions (hidden,
// terminated, activate) that go to the current Workspace. A default-constructed
// one is null (no application).
class RunningApplication
{
public:
    // Regular: has a normal window with a taskbar entry. Accessory: known to
    // the accessibility bus without such a window. Prohibited: neither
    // (background processes).
    enum class ActivationPolicy
    {
        Regular,
        Accessory,
        Prohibited
    };

    RunningApplication() = default;
    RunningApplication(qint64 processIdentifier, QString localizedName, QUrl bundleURL,
                       ActivationPolicy activationPolicy);
    // An application whose name the current Workspace looks up when it is
    // first asked for (asking a hanging application costs a timeout).
    RunningApplication(qint64 processIdentifier, QUrl bundleURL, ActivationPolicy activationPolicy);

    bool isNull() const { return m_processIdentifier < 0; }
    explicit operator bool() const { return !isNull(); }

    qint64 processIdentifier() const { return m_processIdentifier; }
    // The accessibility bus's name of the application, else its desktop
    // entry's Name, else its process name; may be empty.
    QString localizedName() const;
    // The application's executable.
    QUrl bundleURL() const { return m_bundleURL; }
    ActivationPolicy activationPolicy() const { return m_activationPolicy; }

    // Every window of the application is minimised.
    bool isHidden() const;
    bool isTerminated() const;
    // Brings the application forward with its front window, or all windows.
    bool activateWithOptions(bool allWindows) const;

    // The same process.
    bool operator==(const RunningApplication& other) const
    {
        return m_processIdentifier == other.m_processIdentifier;
    }

private:
    qint64 m_processIdentifier = -1;
    std::shared_ptr<std::optional<QString>> m_localizedName;
    QUrl m_bundleURL;
    ActivationPolicy m_activationPolicy = ActivationPolicy::Prohibited;
};

} // namespace platform
