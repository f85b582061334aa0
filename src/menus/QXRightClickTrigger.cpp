#include "menus/QXRightClickTrigger.h"

#include "platform/defaults/UserDefaults.h"
#include "platform/input/RightClickService.h"
#include "platform/log/SystemLog.h"

#include <QObject>
#include <QPointer>

namespace {

const QString ModifierKey = QStringLiteral("Enable Right Click Trigger: Modifier");

struct TriggerState
{
    bool enabled = false;
    qint64 modifier = 0;
    QXRightClickTriggerAction action;
    // The settings store whose changes are followed, and the connection.
    QPointer<platform::UserDefaults> watchedDefaults;
    QMetaObject::Connection watch;
};

TriggerState& state()
{
    static TriggerState triggerState;
    return triggerState;
}

// Takes the clicks for the current modifier; answers whether the desktop
// agreed.
bool startService()
{
    return platform::RightClickService::current().start(
        QXRequiredFlagForRightClickModifier(state().modifier),
        [](const platform::Event& event) { QXRightClickTapCallback(event); });
}

// Follows the stored modifier from the first time the trigger is turned on.
void watchStoredModifier()
{
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (state().watchedDefaults == &defaults) {
        return;
    }
    QObject::disconnect(state().watch);
    state().watchedDefaults = &defaults;
    state().watch = QObject::connect(
        &defaults, &platform::UserDefaults::didChange, &defaults, [defaultsPointer = &defaults] {
            const qint64 stored = defaultsPointer->integerForKey(ModifierKey);
            if (stored != state().modifier) {
                QXSetRightClickTriggerModifier(stored);
            }
        });
}

} // namespace

platform::ModifierFlags QXRequiredFlagForRightClickModifier(qint64 modifier)
{
    switch (modifier) {
    case 1:
        return platform::ModifierFlag::Option;
    case 2:
        return platform::ModifierFlag::Control;
    case 3:
        return platform::ModifierFlag::Function;
    default:
        return platform::ModifierFlag::Command;
    }
}

void QXSetRightClickTriggerEnabled(bool enabled)
{
    TriggerState& trigger = state();
    if (!enabled) {
        platform::RightClickService::current().stop();
        trigger.enabled = false;
        return;
    }
    if (trigger.enabled && platform::RightClickService::current().isRunning()) {
        return;
    }
    if (!startService()) {
        trigger.enabled = false;
        platform::systemLog(QStringLiteral("invalid port"));
        return;
    }
    trigger.enabled = true;
    watchStoredModifier();
}

bool QXIsRightClickTriggerEnabled()
{
    return state().enabled && platform::RightClickService::current().isRunning();
}

void QXSetRightClickTriggerAction(QXRightClickTriggerAction action)
{
    state().action = std::move(action);
}

bool QXRightClickTapCallback(const platform::Event& event)
{
    if (event.type != platform::Event::Type::RightMouseDown) {
        platform::systemLog(QStringLiteral("tapped unknown CGEvent of type 0x%1")
                                .arg(static_cast<int>(event.type), 0, 16));
        return false;
    }
    const platform::ModifierFlags required = QXRequiredFlagForRightClickModifier(state().modifier);
    if ((event.modifierFlags & required) != required) {
        return false;
    }
    const bool allApplications = (event.modifierFlags & platform::ModifierFlag::Shift) != 0;
    // A copy: the action may replace itself while its menu is open.
    const QXRightClickTriggerAction action = state().action;
    return action && action(allApplications);
}

qint64 QXRightClickTriggerModifier()
{
    return state().modifier;
}

void QXSetRightClickTriggerModifier(qint64 modifier)
{
    TriggerState& trigger = state();
    if (modifier == trigger.modifier) {
        return;
    }
    trigger.modifier = modifier;
    if (trigger.enabled && !startService()) {
        trigger.enabled = false;
        platform::systemLog(QStringLiteral("invalid port"));
    }
}
