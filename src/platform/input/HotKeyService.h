#pragma once

#include "platform/input/Event.h"
#include "platform/input/ModifierFlags.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// One registration with the hot key service; 0 stands for none.
using HotKeyHandle = quint64;

// Why the hot key service refused a registration.
enum class HotKeyRefusal
{
    // The desktop has no global hot keys.
    Unavailable,
    // Another program, or another registration, holds the combination.
    HeldElsewhere,
    // The key or one of the modifiers does not exist in the keyboard mapping now.
    NotInKeyboardMapping,
};

// How the desktop in use brings a hot key to the program.
enum class HotKeyMechanism
{
    // Key grabs on the X server.
    KeyGrabs,
    // The desktop's global shortcuts portal.
    Portal,
    // KDE's global shortcut service.
    KdeService,
    // A custom shortcut in GNOME's keyboard settings that runs the program's
    // pop-up command.
    GnomeSettings,
    // A line the user adds to the compositor's configuration; the program
    // binds nothing itself.
    ConfigurationLine,
    // Not known yet: the desktop is still being asked.
    Pending,
    // No global hot keys.
    None,
};

// What a registration is for, for desktops that list shortcuts by name or
// bind a key to a command: a name that stays the same from run to run
// ("trovix-front"), a description for the desktop's shortcut settings and the
// command line that does what the hot key does.
struct HotKeyPurpose
{
    QString name;
    QString description;
    QStringList command;
};

// The desktop's service for global hot keys: key combinations that reach the
// program whichever application the user works in. A press of a registered
// combination arrives as a system-defined event of subtype
// Event::HotKeyPressedSubtype whose data1 is the registration's handle, its
// release as Event::HotKeyReleasedSubtype; holding the key down gives one press.
class HotKeyService
{
public:
    using EventHandler = std::function<void(const Event&)>;
    using KeyboardMappingHandler = std::function<void()>;

    virtual ~HotKeyService();

    // The process-wide service: the X11 one when the application runs on an X
    // server, else one that is not available and refuses every combination.
    static HotKeyService& current();
    // Replaces the process-wide service (tests install the memory one); an
    // empty pointer restores the default.
    static void setCurrent(std::unique_ptr<HotKeyService> service);

    // Where presses and releases go, from every service, on the main thread
    // and from the event loop (never from inside a registration call). The
    // application object sets it; an empty function drops the events.
    static void setEventHandler(EventHandler handler);
    // Called on the main thread, from the event loop, after the keyboard
    // mapping changed (a new layout, a modifier moved) and the service has
    // followed the change: a combination refused before may be free now. An
    // empty function drops the calls.
    static void setKeyboardMappingHandler(KeyboardMappingHandler handler);

    // Whether this desktop offers global hot keys at all.
    virtual bool isAvailable() const = 0;
    // Registers the key at a virtual key code with the held modifiers (Shift,
    // Control, Option, Command, Function; the other bits are ignored). The
    // signature and identifier name the registration to the service. Nothing
    // when the desktop refuses: another program holds the combination, or the
    // key or a modifier does not exist here; the reason goes to refusal when
    // it is not null. A refused registration leaves nothing behind.
    virtual std::optional<HotKeyHandle> registerHotKey(quint16 keyCode, ModifierFlags modifiers,
                                                       quint32 signature, quint32 identifier,
                                                       HotKeyRefusal* refusal) = 0;
    // Ends a registration; unknown handles are ignored. What the desktop keeps
    // beyond the program's run stays (see removeDesktopBinding).
    virtual void unregisterHotKey(HotKeyHandle handle) = 0;

    // How hot keys reach the program here.
    virtual HotKeyMechanism mechanism() const
    {
        return isAvailable() ? HotKeyMechanism::KeyGrabs : HotKeyMechanism::None;
    }
    // Names a registration for the desktop (see HotKeyPurpose); desktops that
    // need no name ignore it.
    virtual void describeRegistration(HotKeyHandle handle, const HotKeyPurpose& purpose)
    {
        Q_UNUSED(handle);
        Q_UNUSED(purpose);
    }
    // The user removed the hot key of this purpose name: what the program
    // added to the desktop's settings for it goes, and nothing else.
    virtual void removeDesktopBinding(const QString& name) { Q_UNUSED(name); }
    // Whether the service changes the desktop's own settings and must be
    // allowed to first; setDesktopSettingsAllowed gives or withholds that.
    virtual bool needsPermission() const { return false; }
    virtual void setDesktopSettingsAllowed(bool allowed) { Q_UNUSED(allowed); }
    // The line to add to the desktop's configuration so that the key
    // combination runs the command, for ConfigurationLine; else empty.
    virtual QString configurationLine(quint16 keyCode, ModifierFlags modifiers,
                                      const QStringList& command) const
    {
        Q_UNUSED(keyCode);
        Q_UNUSED(modifiers);
        Q_UNUSED(command);
        return {};
    }
    // Calls the function on the main thread, from the event loop, whenever
    // mechanism() changes; an empty function drops the calls.
    static void setMechanismHandler(std::function<void()> handler);

protected:
    HotKeyService() = default;
    HotKeyService(const HotKeyService&) = delete;
    HotKeyService& operator=(const HotKeyService&) = delete;

    // Hands an event to the handler set with setEventHandler.
    static void deliver(const Event& event);
    // Calls the handler set with setKeyboardMappingHandler.
    static void notifyKeyboardMappingChanged();
    // Calls the handler set with setMechanismHandler.
    static void notifyMechanismChanged();
};

} // namespace platform
