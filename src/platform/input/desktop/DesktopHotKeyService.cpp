#include "platform/input/desktop/DesktopHotKeyService.h"

#include "platform/input/Event.h"
#include "platform/input/VirtualKeyCodes.h"
#include "platform/input/desktop/DesktopHotKeyChoice.h"
#include "platform/input/gnome/GnomeSettingsBinder.h"
#include "platform/input/kde/KGlobalAccelBinder.h"
#include "platform/input/portal/GlobalShortcutsPortal.h"
#include "platform/log/SystemLog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>

namespace platform {
namespace {

constexpr ModifierFlags heldModifierBits = ModifierFlag::Shift | ModifierFlag::Control |
                                           ModifierFlag::Option | ModifierFlag::Command |
                                           ModifierFlag::Function;

QString mechanismName(HotKeyMechanism mechanism)
{
    switch (mechanism) {
    case HotKeyMechanism::Portal:
        return QStringLiteral("the global shortcuts portal");
    case HotKeyMechanism::GnomeSettings:
        return QStringLiteral("GNOME's keyboard settings");
    case HotKeyMechanism::KdeService:
        return QStringLiteral("KDE's global shortcut service");
    case HotKeyMechanism::ConfigurationLine:
        return QStringLiteral("a line in the compositor's configuration");
    default:
        return QStringLiteral("nothing");
    }
}

} // namespace

DesktopHotKeyService::DesktopHotKeyService(const QString& currentDesktop)
    : m_currentDesktop(currentDesktop)
{
    m_factory = [this](HotKeyMechanism mechanism) -> std::unique_ptr<DesktopShortcutBinder> {
        if (mechanism == HotKeyMechanism::Portal) {
            return std::make_unique<GlobalShortcutsPortal>(
                QDBusConnection::sessionBus(),
                [this](const QString& name, bool pressed) { shortcutActivated(name, pressed); });
        }
        if (mechanism == HotKeyMechanism::KdeService) {
            return std::make_unique<KGlobalAccelBinder>(
                QDBusConnection::sessionBus(),
                [this](const QString& name, bool pressed) { shortcutActivated(name, pressed); });
        }
        if (mechanism == HotKeyMechanism::GnomeSettings) {
            return std::make_unique<GnomeSettingsBinder>();
        }
        return nullptr;
    };
    m_bindLater.setSingleShot(true);
    connect(&m_bindLater, &QTimer::timeout, this, &DesktopHotKeyService::bindNow);
    GlobalShortcutsPortal::probeVersion(QDBusConnection::sessionBus(), this, [this](uint version) {
        // Every Flatpak sandbox has this file at its root.
        const bool sandboxed = QFileInfo::exists(QStringLiteral("/.flatpak-info"));
        chosen(DesktopHotKeyChoice::choose(m_currentDesktop, version, sandboxed));
    });
}

DesktopHotKeyService::DesktopHotKeyService(HotKeyMechanism mechanism, BinderFactory factory,
                                           const QString& currentDesktop)
    : m_factory(std::move(factory)), m_currentDesktop(currentDesktop)
{
    m_bindLater.setSingleShot(true);
    connect(&m_bindLater, &QTimer::timeout, this, &DesktopHotKeyService::bindNow);
    chosen(mechanism);
}

DesktopHotKeyService::~DesktopHotKeyService() = default;

void DesktopHotKeyService::chosen(HotKeyMechanism mechanism)
{
    m_chosen = mechanism;
    systemLog(QStringLiteral("hot keys in this Wayland session: %1").arg(mechanismName(mechanism)));
    if (mechanism == HotKeyMechanism::Portal || mechanism == HotKeyMechanism::KdeService ||
        (mechanism == HotKeyMechanism::GnomeSettings && m_settingsAllowed.value_or(false))) {
        m_binder = m_factory(mechanism);
    }
    if (m_binder) {
        for (const QString& name : std::as_const(m_pendingRemovals)) {
            m_binder->remove(name);
        }
        m_pendingRemovals.clear();
        scheduleBinding();
    }
    notifyMechanismChanged();
}

HotKeyMechanism DesktopHotKeyService::mechanism() const
{
    if (m_chosen == HotKeyMechanism::GnomeSettings && m_settingsAllowed == false) {
        return HotKeyMechanism::ConfigurationLine;
    }
    return m_chosen;
}

bool DesktopHotKeyService::needsPermission() const
{
    return m_chosen == HotKeyMechanism::GnomeSettings && !m_settingsAllowed;
}

void DesktopHotKeyService::setDesktopSettingsAllowed(bool allowed)
{
    if (m_settingsAllowed == allowed) {
        return;
    }
    m_settingsAllowed = allowed;
    if (m_chosen == HotKeyMechanism::GnomeSettings) {
        m_binder = allowed ? m_factory(m_chosen) : nullptr;
        if (m_binder) {
            scheduleBinding();
        }
        notifyMechanismChanged();
    }
}

std::optional<HotKeyHandle>
DesktopHotKeyService::registerHotKey(quint16 keyCode, ModifierFlags modifiers, quint32 signature,
                                     quint32 identifier, HotKeyRefusal* refusal)
{
    Q_UNUSED(signature);
    Q_UNUSED(identifier);
    const auto refuse = [refusal](HotKeyRefusal reason) {
        if (refusal != nullptr) {
            *refusal = reason;
        }
        return std::nullopt;
    };
    const KeyCombination combination{keyCode, modifiers & heldModifierBits &
                                                  ~intrinsicModifierFlagsForKeyCode(keyCode)};
    // Desktops bind keys by name: a key without one, or Fn held, cannot be
    // bound there.
    if (KeyCombinationText::portalTrigger(combination).isEmpty()) {
        return refuse(HotKeyRefusal::NotInKeyboardMapping);
    }
    for (const Registration& registration : std::as_const(m_registrations)) {
        if (registration.combination == combination) {
            return refuse(HotKeyRefusal::HeldElsewhere);
        }
    }
    Registration registration;
    registration.handle = ++m_lastHandle;
    registration.combination = combination;
    m_registrations.append(registration);
    scheduleBinding();
    return registration.handle;
}

void DesktopHotKeyService::unregisterHotKey(HotKeyHandle handle)
{
    // The desktop keeps its binding: a new registration of the same purpose
    // replaces it, and the user's removal goes through removeDesktopBinding.
    m_registrations.removeIf(
        [handle](const Registration& registration) { return registration.handle == handle; });
}

void DesktopHotKeyService::describeRegistration(HotKeyHandle handle, const HotKeyPurpose& purpose)
{
    for (Registration& registration : m_registrations) {
        if (registration.handle == handle) {
            registration.purpose = purpose;
            scheduleBinding();
        }
    }
}

void DesktopHotKeyService::removeDesktopBinding(const QString& name)
{
    if (m_binder) {
        m_binder->remove(name);
    } else if (!m_pendingRemovals.contains(name)) {
        m_pendingRemovals.append(name);
    }
}

QString DesktopHotKeyService::configurationLine(quint16 keyCode, ModifierFlags modifiers,
                                                const QStringList& command) const
{
    if (mechanism() != HotKeyMechanism::ConfigurationLine || command.isEmpty()) {
        return {};
    }
    const KeyCombination combination{keyCode, modifiers & heldModifierBits &
                                                  ~intrinsicModifierFlagsForKeyCode(keyCode)};
    const QString commandLine = DesktopHotKeyChoice::commandLineText(command);
    if (DesktopHotKeyChoice::isGnome(m_currentDesktop)) {
        // Typed into GNOME's custom shortcut by hand: the command alone.
        return commandLine;
    }
    const QString binding = KeyCombinationText::swayBinding(combination);
    if (binding.isEmpty()) {
        return {};
    }
    return QStringLiteral("bindsym %1 exec %2").arg(binding, commandLine);
}

void DesktopHotKeyService::scheduleBinding()
{
    // Registration and its description come one after the other: bound
    // together, once, from the event loop.
    m_bindLater.start(0);
}

void DesktopHotKeyService::bindNow()
{
    if (!m_binder) {
        return;
    }
    QList<DesktopShortcut> shortcuts;
    for (const Registration& registration : std::as_const(m_registrations)) {
        if (registration.purpose.name.isEmpty()) {
            continue;
        }
        shortcuts.append({registration.purpose.name, registration.purpose.description,
                          registration.purpose.command, registration.combination});
    }
    m_binder->bind(shortcuts);
}

void DesktopHotKeyService::shortcutActivated(const QString& name, bool pressed)
{
    for (Registration& registration : m_registrations) {
        if (registration.purpose.name != name || registration.down == pressed) {
            continue;
        }
        registration.down = pressed;
        Event event;
        event.type = Event::Type::SystemDefined;
        event.subtype = pressed ? Event::HotKeyPressedSubtype : Event::HotKeyReleasedSubtype;
        event.keyCode = registration.combination.keyCode;
        event.modifierFlags = registration.combination.modifiers |
                              intrinsicModifierFlagsForKeyCode(registration.combination.keyCode);
        event.data1 = static_cast<qint64>(registration.handle);
        // The program may open a menu, with an event loop of its own: never
        // inside the handling of the desktop's message.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [event] { deliver(event); }, Qt::QueuedConnection);
        return;
    }
}

} // namespace platform
