#include "platform/instance/ProgramInstance.h"

#include "platform/log/SystemLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

namespace platform {

namespace {

const QString serviceName = QStringLiteral("com.quirkworks.Trovix");
const QString objectPath = QStringLiteral("/com/quirkworks/Trovix");
const QString interfaceName = QStringLiteral("com.quirkworks.Trovix");

} // namespace

// Requests are answered at once and acted on in the next event-loop pass, so
// a caller never waits while a pop-up menu is open. A help page request is
// answered once the help book tells whether it has the page.
class InstanceAdaptor : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quirkworks.Trovix")

public:
    explicit InstanceAdaptor(ProgramInstance* instance) : QObject(instance), m_instance(instance) {}

public Q_SLOTS:
    Q_SCRIPTABLE void Reopen()
    {
        QTimer::singleShot(0, m_instance, &ProgramInstance::reopenRequested);
    }
    Q_SCRIPTABLE void PopUp(bool allApplications)
    {
        QTimer::singleShot(0, m_instance, [this, allApplications] {
            Q_EMIT m_instance->popUpRequested(allApplications);
        });
    }

    Q_SCRIPTABLE void Show(const QString& window)
    {
        QTimer::singleShot(0, m_instance,
                           [this, window] { Q_EMIT m_instance->showRequested(window); });
    }

    Q_SCRIPTABLE bool ShowHelpPage(const QString& page, const QDBusMessage& message)
    {
        if (!m_instance->m_helpPageHandler) {
            return false;
        }
        message.setDelayedReply(true);
        QTimer::singleShot(0, m_instance, [this, page, message] {
            m_instance->m_helpPageHandler(page, [message](bool exists) {
                QDBusConnection::sessionBus().send(message.createReply(exists));
            });
        });
        return false;
    }

private:
    ProgramInstance* m_instance;
};

namespace {

bool call(const QString& method, const QVariantList& arguments, QString* error,
          QDBusMessage* answer = nullptr)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (error != nullptr) {
            *error = QStringLiteral("no desktop session bus");
        }
        return false;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (error != nullptr) {
            *error = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                         ? QStringLiteral("Trovix is not running")
                         : reply.errorMessage();
        }
        return false;
    }
    if (answer != nullptr) {
        *answer = reply;
    }
    return true;
}

} // namespace

ProgramInstance::ProgramInstance(QObject* parent) : QObject(parent) {}

ProgramInstance::~ProgramInstance()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.unregisterObject(objectPath);
        bus.unregisterService(serviceName);
    }
}

ProgramInstance::Claim ProgramInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        systemLog(QStringLiteral("no session bus: cannot tell other starts of Trovix apart"));
        return Claim::NoSessionBus;
    }
    const auto reply =
        bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        return Claim::AlreadyRunning;
    }
    bus.registerObject(objectPath, new InstanceAdaptor(this),
                       QDBusConnection::ExportScriptableSlots);
    return Claim::Primary;
}

bool ProgramInstance::requestReopen(QString* error)
{
    return call(QStringLiteral("Reopen"), {}, error);
}

bool ProgramInstance::requestPopUp(bool allApplications, QString* error)
{
    return call(QStringLiteral("PopUp"), {allApplications}, error);
}

bool ProgramInstance::requestShow(const QString& window, QString* error)
{
    return call(QStringLiteral("Show"), {window}, error);
}

std::optional<bool> ProgramInstance::requestShowHelpPage(const QString& page, QString* error)
{
    QDBusMessage reply;
    if (!call(QStringLiteral("ShowHelpPage"), {page}, error, &reply)) {
        return std::nullopt;
    }
    const QVariantList values = reply.arguments();
    if (values.size() != 1 || values.constFirst().typeId() != QMetaType::Bool) {
        if (error != nullptr) {
            *error = QStringLiteral("the running Trovix gave no answer about the page");
        }
        return std::nullopt;
    }
    return values.constFirst().toBool();
}

} // namespace platform

#include "ProgramInstance.moc"
