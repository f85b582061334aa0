#include "platform/input/kde/KGlobalAccelBinder.h"

#include "platform/input/KeyCombinationText.h"
#include "platform/log/SystemLog.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QKeySequence>

namespace platform {
namespace {

const QString service = QStringLiteral("org.kde.kglobalaccel");
const QString servicePath = QStringLiteral("/kglobalaccel");
const QString serviceInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString componentInterface = QStringLiteral("org.kde.kglobalaccel.Component");

// setShortcut's flags: the action is there now, and its keys are the ones
// given rather than those stored for it before.
constexpr uint setPresent = 2;
constexpr uint noAutoloading = 4;

// Qt's names of the keys whose keysym names differ.
const QHash<QString, QString>& qtKeyNames()
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("space"), QStringLiteral("Space")},
        {QStringLiteral("Escape"), QStringLiteral("Esc")},
        {QStringLiteral("BackSpace"), QStringLiteral("Backspace")},
        {QStringLiteral("Delete"), QStringLiteral("Del")},
        {QStringLiteral("Insert"), QStringLiteral("Ins")},
        {QStringLiteral("Prior"), QStringLiteral("PgUp")},
        {QStringLiteral("Next"), QStringLiteral("PgDown")},
        {QStringLiteral("minus"), QStringLiteral("-")},
        {QStringLiteral("equal"), QStringLiteral("=")},
        {QStringLiteral("bracketleft"), QStringLiteral("[")},
        {QStringLiteral("bracketright"), QStringLiteral("]")},
        {QStringLiteral("semicolon"), QStringLiteral(";")},
        {QStringLiteral("apostrophe"), QStringLiteral("'")},
        {QStringLiteral("grave"), QStringLiteral("`")},
        {QStringLiteral("backslash"), QStringLiteral("\\")},
        {QStringLiteral("comma"), QStringLiteral(",")},
        {QStringLiteral("period"), QStringLiteral(".")},
        {QStringLiteral("slash"), QStringLiteral("/")},
    };
    return names;
}

} // namespace

KGlobalAccelBinder::KGlobalAccelBinder(const QDBusConnection& bus, ActivationHandler handler,
                                       QObject* parent)
    : QObject(parent), m_bus(bus), m_handler(std::move(handler))
{
    const QString path = QStringLiteral("/component/") + QLatin1String(component);
    m_bus.connect(service, path, componentInterface, QStringLiteral("globalShortcutPressed"), this,
                  SLOT(activation(QDBusMessage)));
    m_bus.connect(service, path, componentInterface, QStringLiteral("globalShortcutReleased"), this,
                  SLOT(activation(QDBusMessage)));
}

std::optional<int> KGlobalAccelBinder::qtKey(const KeyCombination& combination)
{
    const QString name = KeyCombinationText::keySymbolName(combination.keyCode);
    // The keypad's keys and the ISO key have no name of their own in Qt's
    // text form.
    if (name.isEmpty() || name.startsWith(QLatin1String("KP_")) || name == QLatin1String("less") ||
        name == QLatin1String("Num_Lock") ||
        KeyCombinationText::portalTrigger(combination).isEmpty()) {
        return std::nullopt;
    }
    QString text;
    if (combination.modifiers & ModifierFlag::Command) {
        text += QLatin1String("Meta+");
    }
    if (combination.modifiers & ModifierFlag::Control) {
        text += QLatin1String("Ctrl+");
    }
    if (combination.modifiers & ModifierFlag::Option) {
        text += QLatin1String("Alt+");
    }
    if (combination.modifiers & ModifierFlag::Shift) {
        text += QLatin1String("Shift+");
    }
    text += qtKeyNames().value(name, name.size() == 1 ? name.toUpper() : name);
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) {
        return std::nullopt;
    }
    return sequence[0].toCombined();
}

void KGlobalAccelBinder::call(const QString& method, const QList<QVariant>& arguments)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, servicePath, serviceInterface, method);
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [method](QDBusPendingCallWatcher* done) {
                done->deleteLater();
                if (done->isError()) {
                    systemLog(QStringLiteral("KDE's global shortcut service refused %1: %2")
                                  .arg(method, done->error().message()));
                }
            });
}

void KGlobalAccelBinder::bind(const QList<DesktopShortcut>& shortcuts)
{
    for (const DesktopShortcut& shortcut : shortcuts) {
        const std::optional<int> key = qtKey(shortcut.combination);
        if (!key || shortcut.name.isEmpty()) {
            continue;
        }
        const QStringList actionId{QLatin1String(component), shortcut.name,
                                   QStringLiteral("Trovix"), shortcut.description};
        // Calls on one connection arrive in order: registered, then set.
        call(QStringLiteral("doRegister"), {actionId});
        call(QStringLiteral("setShortcut"),
             {actionId, QVariant::fromValue(QList<int>{*key}), setPresent | noAutoloading});
    }
}

void KGlobalAccelBinder::remove(const QString& name)
{
    if (!name.isEmpty()) {
        call(QStringLiteral("unregister"), {QLatin1String(component), name});
    }
}

void KGlobalAccelBinder::activation(const QDBusMessage& message)
{
    // (s component, s action, x timestamp)
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || !m_handler ||
        arguments.at(0).toString() != QLatin1String(component)) {
        return;
    }
    m_handler(arguments.at(1).toString(),
              message.member() == QLatin1String("globalShortcutPressed"));
}

} // namespace platform
