#include "platform/loginitems/portal/BackgroundPortalLoginItems.h"

#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

} // namespace

BackgroundPortalLoginItems::BackgroundPortalLoginItems(const QDBusConnection& bus,
                                                       const QString& stateFile,
                                                       const QString& program)
    : m_bus(bus), m_stateFile(stateFile), m_program(program)
{}

bool BackgroundPortalLoginItems::isSandboxed()
{
    // Every Flatpak sandbox has this file at its root.
    return QFileInfo::exists(QStringLiteral("/.flatpak-info"));
}

QString BackgroundPortalLoginItems::defaultStateFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/trovix-background-portal");
}

std::optional<bool> BackgroundPortalLoginItems::isHelperEnabled()
{
    QFile file(m_stateFile);
    if (!file.exists()) {
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.read(16).trimmed() == "on";
}

bool BackgroundPortalLoginItems::canEnableHelper() const
{
    return m_bus.isConnected();
}

bool BackgroundPortalLoginItems::setHelperEnabled(bool enabled)
{
    if (!m_bus.isConnected()) {
        setLastError(
            QCoreApplication::translate("Trovix", "There is no desktop session bus to ask."));
        return false;
    }
    // The portal answers on a request object whose path it derives from our
    // bus name and a token of ours; listening there before asking means the
    // answer cannot be missed.
    const QString token =
        QStringLiteral("trovix%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_requestCount);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    const QString requestPath = portalPath + QStringLiteral("/request/") + sender + u'/' + token;
    if (!m_pendingRequest.isEmpty()) {
        m_bus.disconnect(portalService, m_pendingRequest, requestInterface,
                         QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
    }
    m_pendingRequest = requestPath;
    m_bus.connect(portalService, requestPath, requestInterface, QStringLiteral("Response"), this,
                  SLOT(response(uint, QVariantMap)));

    QVariantMap options;
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("reason"),
                   QCoreApplication::translate("Trovix", "Start Trovix when you log in"));
    options.insert(QStringLiteral("autostart"), enabled);
    options.insert(QStringLiteral("commandline"), QStringList{m_program});
    options.insert(QStringLiteral("dbus-activatable"), false);
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.portal.Background"),
        QStringLiteral("RequestBackground"));
    call << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    systemLog(QStringLiteral("[QXLoginItem] the background portal refused: %1")
                                  .arg(reply.error().message()));
                    setLastError(
                        QCoreApplication::translate("Trovix", "The desktop refused the request: %1")
                            .arg(reply.error().message()));
                    notifyChanged();
                }
            });
    return true;
}

void BackgroundPortalLoginItems::response(uint code, const QVariantMap& results)
{
    // 0: granted; 1: the user said no; 2: ended otherwise. Only a grant
    // carries the state now in effect.
    if (code != 0) {
        systemLog(QStringLiteral("[QXLoginItem] the background portal declined (%1)").arg(code));
    } else {
        writeState(results.value(QStringLiteral("autostart")).toBool());
    }
    // The answer comes after the switch was made: whoever shows the state
    // shows it anew.
    notifyChanged();
}

void BackgroundPortalLoginItems::writeState(bool enabled)
{
    QDir().mkpath(QFileInfo(m_stateFile).path());
    QSaveFile file(m_stateFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(enabled ? "on\n" : "off\n") < 0 ||
        !file.commit()) {
        systemLog(QStringLiteral("[QXLoginItem] cannot write %1: %2")
                      .arg(m_stateFile, file.errorString()));
    }
}

} // namespace platform
