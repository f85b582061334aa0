#include "platform/workspace/RunningApplication.h"

#include "platform/workspace/Workspace.h"

namespace platform {

RunningApplication::RunningApplication(qint64 processIdentifier, QString localizedName,
                                       QUrl bundleURL, ActivationPolicy activationPolicy)
    : m_processIdentifier(processIdentifier),
      m_localizedName(std::make_shared<std::optional<QString>>(std::move(localizedName))),
      m_bundleURL(std::move(bundleURL)), m_activationPolicy(activationPolicy)
{}

RunningApplication::RunningApplication(qint64 processIdentifier, QUrl bundleURL,
                                       ActivationPolicy activationPolicy)
    : m_processIdentifier(processIdentifier),
      m_localizedName(std::make_shared<std::optional<QString>>()),
      m_bundleURL(std::move(bundleURL)), m_activationPolicy(activationPolicy)
{}

QString RunningApplication::localizedName() const
{
    if (!m_localizedName) {
        return QString();
    }
    if (!m_localizedName->has_value()) {
        *m_localizedName = Workspace::current().localizedName(*this);
    }
    return **m_localizedName;
}

bool RunningApplication::isHidden() const
{
    return !isNull() && Workspace::current().isHidden(*this);
}

bool RunningApplication::isTerminated() const
{
    return isNull() || Workspace::current().isTerminated(*this);
}

bool RunningApplication::activateWithOptions(bool allWindows) const
{
    return !isNull() && Workspace::current().activateApplication(*this, allWindows);
}

} // namespace platform
