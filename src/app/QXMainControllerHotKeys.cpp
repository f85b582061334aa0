// The hot keys of the main controller: their owner under the hot key delegate
// protocol, their registration at start-up and the handling of their presses.

#include "app/QXHotKeyPurposes.h"
#include "app/QXMainController.h"
#include "app/QXMainPreferencesWindow.h"
#include "app/QXSettingsKeys.h"
#include "hotkeys/QXHotKey.h"
#include "platform/defaults/UserDefaults.h"
#include "platform/input/HotKeyService.h"
#include "platform/log/SystemLog.h"

#include <QDateTime>
#include <algorithm>

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

// A hot key press this soon after a pop-up menu closed belongs to that menu.
constexpr double swallowAfterMenuSeconds = 0.1;

// The log line for a stored hot key the desktop refused, which stays stored.
QString refusedHotKeyMessage(const QXHotKey& hotKey, const QString& identifier)
{
    const QString reason = hotKey.refusal() == platform::HotKeyRefusal::NotInKeyboardMapping
                               ? QStringLiteral("is not in the keyboard mapping")
                               : QStringLiteral("is in use by another program");
    return QStringLiteral("the hot key <%1> for \"%2\" %3; it stays stored and is tried again at "
                          "the next start and keyboard mapping change")
        .arg(hotKey.visualRepresentation(), identifier, reason);
}

// Tells a desktop that binds keys itself what the registered hot key is for.
void describeRegistration(const QXHotKey& hotKey, const QString& identifier)
{
    if (hotKey.hotKeyReference() != 0) {
        platform::HotKeyService::current().describeRegistration(
            hotKey.hotKeyReference(), QXHotKeyPurposes::purposeForIdentifier(identifier));
    }
}

// The user's earlier answer on adding hot keys to the desktop's settings,
// handed to the service.
void applyDesktopSettingsAnswer()
{
    const QVariant answer = defaults().objectForKey(QXSettingsKeys::HotKeysInDesktopSettings);
    if (answer.isValid()) {
        platform::HotKeyService::current().setDesktopSettingsAllowed(answer.toBool());
    }
}

} // namespace

bool QXMainController::hasHotKeys() const
{
    const QList<std::shared_ptr<QXHotKey>> held = hotKeys();
    return std::any_of(held.cbegin(), held.cend(), [](const std::shared_ptr<QXHotKey>& hotKey) {
        return hotKey->isRegistered();
    });
}

QList<std::shared_ptr<QXHotKey>> QXMainController::hotKeys() const
{
    QList<std::shared_ptr<QXHotKey>> result;
    for (const std::shared_ptr<QXHotKey>& hotKey :
         {m_frontmostApplicationTriggerHotKey, m_allApplicationsTriggerHotKey}) {
        if (hotKey) {
            result.append(hotKey);
        }
    }
    return result;
}

quint32 QXMainController::hotKeySignature() const
{
    return (quint32('T') << 24) | (quint32('X') << 16) | (quint32('h') << 8) | quint32('k');
}

QString QXMainController::identifierForHotKeyTextView(const QXHotKeyTextView* textView) const
{
    if (textView != nullptr && textView == m_allApplicationsTriggerHotKeyTextView) {
        return QXSettingsKeys::MenuTriggerAllApplications;
    }
    return QXSettingsKeys::MenuTrigger;
}

bool QXMainController::shouldSetHotKey(const std::shared_ptr<QXHotKey>& hotKey,
                                       const QString& identifier)
{
    if (identifier.isNull()) {
        return false;
    }
    platform::HotKeyService& service = platform::HotKeyService::current();
    if (!hotKey) {
        defaults().removeObjectForKey(identifier);
        // What Trovix added to the desktop for it goes too.
        service.removeDesktopBinding(QXHotKeyPurposes::purposeForIdentifier(identifier).name);
        return true;
    }
    if (service.needsPermission() &&
        !defaults().objectForKey(QXSettingsKeys::HotKeysInDesktopSettings).isValid()) {
        // Asked once, the first time a hot key is set; the answer stays.
        const bool allowed =
            QXHotKeyPurposes::askToChangeDesktopSettings(m_preferencesWindow.get());
        defaults().setBool(allowed, QXSettingsKeys::HotKeysInDesktopSettings);
        service.setDesktopSettingsAllowed(allowed);
    }
    if (!hotKey->registerForDelegate(*this)) {
        return false;
    }
    describeRegistration(*hotKey, identifier);
    defaults().setObject(hotKey->dictionaryRepresentation(), identifier);
    return true;
}

void QXMainController::didSetHotKey(const std::shared_ptr<QXHotKey>& hotKey,
                                    const QString& identifier)
{
    // The recorder took it: hold it from now on, so the replaced hot key is
    // released and its registration ends.
    setHotKeyForIdentifier(hotKey, identifier);
}

std::shared_ptr<QXHotKey> QXMainController::hotKeyForIdentifier(const QString& identifier) const
{
    if (identifier == QXSettingsKeys::MenuTrigger) {
        return m_frontmostApplicationTriggerHotKey;
    }
    if (identifier == QXSettingsKeys::MenuTriggerAllApplications) {
        return m_allApplicationsTriggerHotKey;
    }
    return nullptr;
}

void QXMainController::setHotKeyForIdentifier(const std::shared_ptr<QXHotKey>& hotKey,
                                              const QString& identifier)
{
    if (identifier == QXSettingsKeys::MenuTrigger) {
        m_frontmostApplicationTriggerHotKey = hotKey;
    } else if (identifier == QXSettingsKeys::MenuTriggerAllApplications) {
        m_allApplicationsTriggerHotKey = hotKey;
    }
}

bool QXMainController::registerStoredHotKeys()
{
    bool registered = false;
    applyDesktopSettingsAnswer();
    const bool serviceAvailable = platform::HotKeyService::current().isAvailable();
    for (const QString& identifier :
         {QXSettingsKeys::MenuTrigger, QXSettingsKeys::MenuTriggerAllApplications}) {
        std::shared_ptr<QXHotKey> hotKey =
            QXHotKey::hotKeyWithDictionaryRepresentation(defaults().dictionaryForKey(identifier));
        if (hotKey && !serviceAvailable) {
            // Not the hot key's fault: it stays stored for a desktop that has
            // global hot keys.
            platform::systemLog(
                QStringLiteral("global hot keys are not available here; \"%1\" is kept but unused")
                    .arg(identifier));
            hotKey.reset();
        } else if (hotKey && !hotKey->registerForDelegate(*this)) {
            if (hotKey->refusal()) {
                // Another program may let the combination go, a new layout
                // may bring the key: the user's choice stays stored, the
                // recorder shows it as not working, and it is tried again.
                platform::systemLog(refusedHotKeyMessage(*hotKey, identifier));
            } else {
                // Equal to the hot key registered before it: both cannot work.
                platform::systemLog(
                    QStringLiteral(
                        "the hot key <%1> for \"%2\" cannot be registered and was removed")
                        .arg(hotKey->visualRepresentation(), identifier));
                defaults().removeObjectForKey(identifier);
                hotKey.reset();
            }
        } else if (hotKey) {
            describeRegistration(*hotKey, identifier);
            registered = true;
        }
        setHotKeyForIdentifier(hotKey, identifier);
    }
    return registered;
}

void QXMainController::retryRefusedHotKeys()
{
    bool changed = false;
    for (const QString& identifier :
         {QXSettingsKeys::MenuTrigger, QXSettingsKeys::MenuTriggerAllApplications}) {
        const std::shared_ptr<QXHotKey> hotKey = hotKeyForIdentifier(identifier);
        if (!hotKey || hotKey->isRegistered() || !hotKey->refusal()) {
            continue;
        }
        const std::optional<platform::HotKeyRefusal> before = hotKey->refusal();
        if (hotKey->registerForDelegate(*this)) {
            describeRegistration(*hotKey, identifier);
            platform::systemLog(QStringLiteral("the hot key <%1> for \"%2\" works now")
                                    .arg(hotKey->visualRepresentation(), identifier));
            changed = true;
        } else if (hotKey->refusal() != before) {
            // Said once per reason: a refusal that stays the same is not
            // logged again at every change.
            if (hotKey->refusal()) {
                platform::systemLog(refusedHotKeyMessage(*hotKey, identifier));
            }
            changed = true;
        }
    }
    if (changed) {
        refreshHotKeyRecorders();
    }
}

double QXMainController::secondsNow() const
{
    return m_clock ? m_clock() : static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

bool QXMainController::handleKeyDownEvent(const platform::Event& event, bool* repeat)
{
    Q_UNUSED(repeat);
    if (secondsNow() - m_menuEndTimestamp < swallowAfterMenuSeconds) {
        return true;
    }
    bool allApplications = false;
    if (m_frontmostApplicationTriggerHotKey &&
        m_frontmostApplicationTriggerHotKey->matchesEvent(&event)) {
        allApplications = false;
    } else if (m_allApplicationsTriggerHotKey &&
               m_allApplicationsTriggerHotKey->matchesEvent(&event)) {
        allApplications = true;
    } else {
        return false;
    }
    popUpMenuForAllApplications(allApplications);
    return true;
}
